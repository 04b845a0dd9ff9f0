// The plug-in's submenu in the client's menu.
#pragma once

#include <windows.h>

// The plug-in's own command numbers, as given to EDA_GetTempID and received back in EDH_OnCmdProc.
constexpr int kCommandIndexFolder = 35000;
constexpr int kCommandIndexSubfolders = 35001;
constexpr int kCommandPurgeFolder = 35002;
constexpr int kCommandPurgeSubfolders = 35003;

inline constexpr const char* kSubmenuCaption = "Corvidex(&H)";

// On the menu kind kMenuKindPlugins, appends to menu the popup "Corvidex(&H)" with the four commands (none while
// the full-text library is not loaded). Other kinds leave menu alone.
void BuildMenu(HMENU menu, int kind);
