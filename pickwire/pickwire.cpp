// The Pickwire library: its life in the mail client's process and the two entry points the client calls.
#include <windows.h>

#include "config_file.h"
#include "edmax_api.h"
#include "named_pipe.h"
#include "pipe_name.h"
#include "plugin_info.h"
#include "plugin_state.h"
#include "polling_time.h"
#include "select_mail.h"
#include "show_last_error.h"

namespace {

HMODULE g_module = nullptr;
HWND g_mainWindow = nullptr;
CEdmaxApi g_hostApi;
CConfigFile g_config;
CSelectMail g_selectMail;

// Reads the configuration beside the library and binds the client's API; either failure shows the error box and
// makes the load fail. The pipe server is not created here but on the first information event.
bool Initialize() {
  const std::string modulePath = ModuleFilePath(g_module);
  if (modulePath.empty() || !g_config.Load(ConfigPathForModule(modulePath))) {
    ShowLastError(nullptr);
    return false;
  }
  if (!g_hostApi.Bind()) {
    ShowLastError(nullptr);
    return false;
  }
  HWND unusedWindow = nullptr;
  HWND scratch = nullptr;
  g_hostApi.EDA_GetStaticWindows(&g_mainWindow, &unusedWindow, &scratch, &scratch, &scratch);
  return true;
}

}  // namespace

HWND PickwireMainWindow() { return g_mainWindow; }
const CEdmaxApi& PickwireHostApi() { return g_hostApi; }
const CConfigFile& PickwireConfig() { return g_config; }

CNamedPipe* CNamedPipe::GetInstance() {
  if (Current()) return Current();
  Settings settings;
  settings.name = pickwire::kPipeName;
  settings.timerWindow = PickwireMainWindow();
  settings.pollingMs = pickwire::PollingPeriodFromSetting(PickwireConfig().Get(pickwire::kPollingTimeKey));
  settings.observer = &g_selectMail;
  return CreateInstance(std::move(settings));
}

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  switch (reason) {
    case DLL_PROCESS_ATTACH:
      g_module = instance;
      try {
        return Initialize() ? TRUE : FALSE;
      } catch (...) {
        return FALSE;
      }
    case DLL_PROCESS_DETACH:
      CNamedPipe::DestroyInstance();
      return TRUE;
    default:
      return TRUE;
  }
}

extern "C" __declspec(dllexport) int EDAPI EDH_OnHandleEvent(int /*aindex*/, int hID, int /*kind*/, void* data) {
  if (hID != kEventPluginInfo) return 0;
  try {
    if (data) FillPluginInfo(data, PluginIdentity{"Pickwire"});
    CNamedPipe::GetInstance()->Start();
  } catch (...) {
    // Out of memory while creating the server: Pickwire stays without a pipe, the client goes on.
  }
  return 0;
}

extern "C" __declspec(dllexport) int EDAPI EDH_OnCmdProc(int /*aindex*/, int /*nID*/) { return 0; }
