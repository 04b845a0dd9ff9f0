#include "testplugin.h"

#include <commctrl.h>

#include <string>

namespace testplugin {

namespace {

constexpr int kProgressId = 1001;
constexpr UINT_PTR kTickTimer = 1;
constexpr int kTicks = 5;

// Walks the current folder as an indexing job would: every message path, every text, released after use.
int Enumerate() {
  CEdmaxApi& api = Plugin().api;
  char path[kEdmaxPathBufferSize] = {};
  api.EDA_GetCurrentCtxpath(path);
  api.EDA_GetMessageCount(0);
  int seen = 0;
  for (int cursor = api.EDA_GetNextMessagePath(-1, path, 0); cursor != -1;
       cursor = api.EDA_GetNextMessagePath(cursor, path, 0)) {
    if (api.EDA_GetMessage(path)) api.EDA_ReleaseEdmaxBuffer();
    ++seen;
  }
  return seen;
}

// Selects each folder below the tree's selected item, depth first, parent before children, and asks the client for
// its ctxPath: the walk of an indexing job with subfolders. The result is the number of folders selected.
int WalkBelow(HTREEITEM item) {
  HWND tree = Plugin().folderTree;
  int selected = 0;
  SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item));
  for (auto child = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CHILD,
                                                             reinterpret_cast<LPARAM>(item)));
       child; child = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_NEXT,
                                                                reinterpret_cast<LPARAM>(child)))) {
    if (!SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(child))) continue;
    char path[kEdmaxPathBufferSize] = {};
    Plugin().api.EDA_GetCurrentCtxpath(path);
    selected += 1 + WalkBelow(child);
  }
  return selected;
}

int Walk() {
  const auto start = reinterpret_cast<HTREEITEM>(SendMessageA(Plugin().folderTree, TVM_GETNEXTITEM, TVGN_CARET, 0));
  return start ? WalkBelow(start) : 0;
}

// Runs the configuration's steps step1, step2, ... up to the first missing one. A step is "RunMacro <statement>",
// "SelectMessage <message path>" or "GetMessage <message path>". The result is the number of nonzero results.
int RunSteps() {
  CEdmaxApi& api = Plugin().api;
  int nonzero = 0;
  for (int i = 1;; ++i) {
    const std::string step = Plugin().config.Get("step" + std::to_string(i));
    if (step.empty()) break;
    const auto blank = step.find(' ');
    const std::string verb = step.substr(0, blank);
    const std::string argument = blank == std::string::npos ? std::string() : step.substr(blank + 1);
    if (verb == "RunMacro") {
      nonzero += api.EDA_RunMacro(argument.c_str()) != 0;
    } else if (verb == "SelectMessage") {
      nonzero += api.EDA_SelectMessage(argument.c_str(), 1) != 0;
    } else if (verb == "GetMessage") {
      if (api.EDA_GetMessage(argument.c_str())) {
        ++nonzero;
        api.EDA_ReleaseEdmaxBuffer();
      }
    }
  }
  return nonzero;
}

// A modal dialog that counts to kTicks on a timer: status bar text, progress bar, caption, then a message box
// owned by the dialog.
INT_PTR CALLBACK ProgressDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  static int ticks = 0;
  switch (message) {
    case WM_INITDIALOG: {
      ticks = 0;
      CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, dialog, nullptr,
                      Plugin().module, nullptr);
      HWND progress = GetDlgItem(dialog, kProgressId);
      SendMessageA(progress, PBM_SETRANGE, 0, MAKELPARAM(0, kTicks));
      SendMessageA(progress, PBM_SETSTEP, 1, 0);
      SetTimer(dialog, kTickTimer, 10, nullptr);
      return TRUE;
    }
    case WM_TIMER: {
      if (wParam != kTickTimer) break;
      ++ticks;
      HWND status = FindWindowExA(dialog, nullptr, STATUSCLASSNAMEA, nullptr);
      const std::string text = "tick " + std::to_string(ticks);
      SendMessageA(status, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(text.c_str()));
      SendMessageA(GetDlgItem(dialog, kProgressId), PBM_STEPIT, 0, 0);
      if (ticks == kTicks) {
        KillTimer(dialog, kTickTimer);
        SetWindowTextA(dialog, "Testplug done");
        MessageBoxA(dialog, "finished", "Testplug", MB_OKCANCEL);
        EndDialog(dialog, IDOK);
      }
      return TRUE;
    }
    case WM_COMMAND:
      if (LOWORD(wParam) == IDCANCEL) {
        KillTimer(dialog, kTickTimer);
        EndDialog(dialog, IDCANCEL);
        return TRUE;
      }
      break;
    default: break;
  }
  return FALSE;
}

}  // namespace

void AppendSubmenu(HMENU menu) {
  CEdmaxApi& api = Plugin().api;
  HMENU submenu = CreatePopupMenu();
  AppendMenuA(submenu, MF_STRING, static_cast<UINT_PTR>(api.EDA_GetTempID(Plugin().module, kCommandEnumerate)),
              "Enumerate");
  AppendMenuA(submenu, MF_STRING, static_cast<UINT_PTR>(api.EDA_GetTempID(Plugin().module, kCommandSteps)),
              "Steps");
  AppendMenuA(submenu, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(submenu, MF_STRING, static_cast<UINT_PTR>(api.EDA_GetTempID(Plugin().module, kCommandDialog)),
              "Dialog");
  AppendMenuA(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(submenu), "Testplug(&T)");
}

int RunCommand(int nID) {
  switch (nID) {
    case kCommandEnumerate: return Enumerate();
    case kCommandSteps: return RunSteps();
    case kCommandWalk: return Walk();
    case kCommandCrash: {
      volatile int* nowhere = nullptr;
      return *nowhere;
    }
    case kCommandDialog:
      return static_cast<int>(DialogBoxParamA(Plugin().module, MAKEINTRESOURCEA(kDialogTemplate),
                                              Plugin().mainWindow, ProgressDialog, 0));
    default: return -1;
  }
}

}  // namespace testplugin
