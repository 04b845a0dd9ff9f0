// corvidex-dialog-probe: launches the progress dialog in the situations a client can bring about and prints, one
// line each, the launch's result and what became of the thread:
//   <case> result=<launch result> fiber=<1 when the thread is a fiber afterwards> [own=<1 when it is still the
//   fiber the program made>] [second=<result of a command given while the job ran>]
// Every job here ends at once: the index path names this program's own file, where no database can be opened.
#include <windows.h>

#include <cstdio>
#include <string>

#include "fiber.h"
#include "plugin_module.h"

namespace {

int g_secondResult = 1;

// A command that reaches the plug-in while its dialog is up (dispatched by the dialog's own message loop).
void CALLBACK SecondCommand(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  g_secondResult = g_progressDlg.LaunchPurgeJob(true);
}

void Report(const char* name, int result, const char* extra = "") {
  std::printf("%s result=%d fiber=%d%s\n", name, result, IsThreadAFiber() ? 1 : 0, extra);
  std::fflush(stdout);
}

}  // namespace

int main() {
  char self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  g_corvidex.SetIndexPath(self);
  const HMODULE withTemplate = GetModuleHandleA(nullptr);     // this program carries the plug-in's resources
  const HMODULE withoutTemplate = GetModuleHandleA("kernel32.dll");

  g_module = withoutTemplate;
  Report("no-dialog", g_progressDlg.LaunchIndexJob(false));

  g_module = withTemplate;
  Report("index", g_progressDlg.LaunchIndexJob(true));
  Report("purge", g_progressDlg.LaunchPurgeJob(false));

  SetTimer(nullptr, 0, 10, &SecondCommand);
  const int first = g_progressDlg.LaunchIndexJob(false);
  Report("busy", first, (" second=" + std::to_string(g_secondResult)).c_str());

  static int marker;
  void* const own = ConvertThreadToFiber(&marker);
  g_module = withoutTemplate;
  int result = g_progressDlg.LaunchIndexJob(false);
  Report("fiber-no-dialog", result, CurrentFiber() == own ? " own=1" : " own=0");
  g_module = withTemplate;
  result = g_progressDlg.LaunchIndexJob(false);
  Report("fiber-index", result, CurrentFiber() == own ? " own=1" : " own=0");
  return 0;
}
