#include "testplugin.h"

#include "plugin_info.h"
#include "show_last_error.h"

namespace testplugin {

State& Plugin() {
  static State state;
  return state;
}

namespace {

// Attach: configuration, then the client's API, then its windows; a failure shows the error box and fails the load.
bool Attach(HMODULE module) {
  State& plugin = Plugin();
  plugin.module = module;
  if (!plugin.config.Load(ConfigPathForModule(ModuleFilePath(module)))) {
    ShowLastError(nullptr);
    return false;
  }
  if (!plugin.api.Bind()) {
    ShowLastError(nullptr);
    return false;
  }
  HWND scratch = nullptr;
  plugin.api.EDA_GetStaticWindows(&plugin.mainWindow, &plugin.folderTree, &scratch, &scratch, &scratch);
  return true;
}

}  // namespace

}  // namespace testplugin

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) return testplugin::Attach(instance) ? TRUE : FALSE;
  return TRUE;
}

extern "C" __declspec(dllexport) int EDAPI EDH_OnHandleEvent(int, int hID, int kind, void* data) {
  if (hID == kEventPluginInfo && data) FillPluginInfo(data, PluginIdentity{"Testplug"});
  if (hID == kEventBuildMenu && kind == kMenuKindPlugins && data) testplugin::AppendSubmenu(static_cast<HMENU>(data));
  return 0;
}

extern "C" __declspec(dllexport) int EDAPI EDH_OnCmdProc(int, int nID) { return testplugin::RunCommand(nID); }
