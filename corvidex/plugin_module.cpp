#include "plugin_module.h"

// Defined together so that they are built in this order and destroyed in the reverse one.
HMODULE g_module = nullptr;
HWND g_mainWindow = nullptr;
CEdmaxApi g_edmax;
CConfigFile g_config;
CCorvidex g_corvidex;  // loads and binds the full-text library
CProgressDlg4Fiber g_progressDlg;
