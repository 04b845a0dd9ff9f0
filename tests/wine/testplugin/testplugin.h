// testplugin.dll: loads like a product plug-in (configuration, binding, windows) and offers commands that call the
// client's API as the tests ask.
#pragma once

#include <windows.h>

#include "config_file.h"
#include "edmax_api.h"

namespace testplugin {

struct State {
  HMODULE module = nullptr;
  CConfigFile config;
  CEdmaxApi api;
  HWND mainWindow = nullptr;
  HWND folderTree = nullptr;
};

State& Plugin();

// Command numbers, as given to EDA_GetTempID.
constexpr int kCommandEnumerate = 1;  // walks the current folder's messages
constexpr int kCommandSteps = 2;      // runs the calls listed in the configuration (keys step1, step2, ...)
constexpr int kCommandDialog = 3;     // a modal dialog that reports progress, then a message box
constexpr int kCommandWalk = 4;       // selects every folder below the current one in the folder tree, depth first
constexpr int kCommandCrash = 5;      // an access violation, as a faulty plug-in would cause

constexpr int kDialogTemplate = 201;

void AppendSubmenu(HMENU menu);
int RunCommand(int nID);

}  // namespace testplugin
