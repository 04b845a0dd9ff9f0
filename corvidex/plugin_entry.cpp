// The library's entry point, its initialisation in the client's process, and the two exports the client calls.
#include <windows.h>

#include "config_file.h"
#include "diagnostic_log.h"
#include "index_path.h"
#include "plugin_info.h"
#include "plugin_menu.h"
#include "plugin_module.h"
#include "show_last_error.h"

namespace {

constexpr const char* kDiagnosticLogPath = "J:\\Corvidex.log";

// Runs while the client loads the library. False makes the load fail, after an error box.
bool Initialize() {
  StartDiagnosticLog(kDiagnosticLogPath);  // a machine without that drive simply has no log

  const std::string configPath = ConfigPathForModule(ModuleFilePath(g_module));
  if (!g_config.Load(configPath)) {
    ShowLastError(nullptr);
    return false;
  }
  g_corvidex.SetIndexPath(ResolveIndexPath(configPath, g_config.Get("index")));

  if (!g_edmax.Bind()) {
    ShowLastError(nullptr);
    return false;
  }
  HWND mainWindow = nullptr, folderTree = nullptr, unused = nullptr;
  g_edmax.EDA_GetStaticWindows(&mainWindow, &folderTree, &unused, &unused, &unused);
  g_mainWindow = mainWindow;
  g_corvidex.SetFolderTree(folderTree);
  return true;
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
  // Clean-up is the static objects' destruction; only the attach does work here.
  if (reason != DLL_PROCESS_ATTACH) return TRUE;
  g_module = module;
  return Initialize() ? TRUE : FALSE;
}

extern "C" __declspec(dllexport) int EDAPI EDH_OnHandleEvent(int /*aindex*/, int hID, int kind, void* data) {
  switch (hID) {
    case kEventPluginInfo:
      if (data) FillPluginInfo(data, PluginIdentity{"Corvidex"});
      break;
    case kEventBuildMenu:
      BuildMenu(static_cast<HMENU>(data), kind);
      break;
  }
  return 0;
}

extern "C" __declspec(dllexport) int EDAPI EDH_OnCmdProc(int /*aindex*/, int nID) {
  bool withSubfolders = false;
  bool index = false;
  switch (nID) {
    case kCommandIndexFolder: index = true; break;
    case kCommandIndexSubfolders: index = true; withSubfolders = true; break;
    case kCommandPurgeFolder: break;
    case kCommandPurgeSubfolders: withSubfolders = true; break;
    default: return nID - kCommandIndexFolder;  // not ours: no action
  }
  // The menu offers no command without the full-text library; one that arrives all the same is refused before
  // anything could reach the unbound table.
  if (!g_corvidex.IsLibraryLoaded()) return -1;
  return index ? g_progressDlg.LaunchIndexJob(withSubfolders) : g_progressDlg.LaunchPurgeJob(withSubfolders);
}
