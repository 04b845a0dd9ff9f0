// The module-wide objects of Corvidex.dll: built when the library loads, destroyed when it unloads.
#pragma once

#include <windows.h>

#include "config_file.h"
#include "corvidex.h"
#include "edmax_api.h"
#include "progress_dlg.h"

extern HMODULE g_module;    // the library's own module, kept by the entry point
extern HWND g_mainWindow;   // the client's main window, owner of the plug-in's message boxes; null until known
extern CEdmaxApi g_edmax;   // the client's API, bound during initialisation
extern CConfigFile g_config;
extern CCorvidex g_corvidex;
extern CProgressDlg4Fiber g_progressDlg;
