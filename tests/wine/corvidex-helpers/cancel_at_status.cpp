// A test plug-in for the stand-in client. It watches the status bars of the client's thread and, when part 0 of
// one is set for the n-th time (n from the environment variable CANCEL_AT_STATUS; 0 or absent: never), posts
// the cancel button's click to the status bar's dialog. The click is seen when the dialog next has the thread, as
// a user's would be.
#include <windows.h>
#include <commctrl.h>

#include <cstdlib>

namespace {

HHOOK g_hook = nullptr;
long g_target = 0;
long g_seen = 0;

bool IsStatusBar(HWND window) {
  char name[64] = {};
  GetClassNameA(window, name, sizeof name);
  return lstrcmpiA(name, STATUSCLASSNAMEA) == 0;
}

LRESULT CALLBACK WatchStatusTexts(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION) {
    const auto* message = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (message->message == SB_SETTEXTA && LOBYTE(message->wParam) == 0 && IsStatusBar(message->hwnd) &&
        ++g_seen == g_target) {
      const HWND dialog = GetParent(message->hwnd);
      PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                   reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDCANCEL)));
    }
  }
  return CallNextHookEx(g_hook, code, wParam, lParam);
}

}  // namespace

extern "C" __declspec(dllexport) int __cdecl EDH_OnHandleEvent(int, int hID, int, void*) {
  if (hID == 1000 && !g_hook) {
    char value[32] = {};
    if (GetEnvironmentVariableA("CANCEL_AT_STATUS", value, sizeof value)) g_target = std::strtol(value, nullptr, 10);
    g_hook = SetWindowsHookExA(WH_CALLWNDPROC, &WatchStatusTexts, nullptr, GetCurrentThreadId());
  }
  return 0;
}

extern "C" __declspec(dllexport) int __cdecl EDH_OnCmdProc(int, int) { return 0; }

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_DETACH && g_hook) UnhookWindowsHookEx(g_hook);
  return TRUE;
}
