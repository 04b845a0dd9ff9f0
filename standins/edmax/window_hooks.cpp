#include "window_hooks.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "dialog_template.h"
#include "journal_text.h"
#include "screenshot.h"
#include "text_codec.h"

WindowHooks* WindowHooks::active_ = nullptr;

namespace {

constexpr ATOM kDialogClassAtom = 0x8002;  // "#32770"
constexpr int kMessageBoxTextId = 0xFFFF;

std::wstring WindowText(HWND window) {
  const int length = GetWindowTextLengthW(window);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), length + 1)));
  return text;
}

std::wstring ClassNameOf(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, static_cast<int>(std::size(name)));
  return name;
}

bool SameText(const std::wstring& a, const wchar_t* b) {
  return CompareStringOrdinal(a.c_str(), -1, b, -1, TRUE) == CSTR_EQUAL;
}

bool IsDialogClass(HWND window) { return ClassNameOf(window) == L"#32770"; }

// Name of a message box button by its command identifier.
const char* ButtonName(int id) {
  switch (id) {
    case IDOK: return "OK";
    case IDCANCEL: return "Cancel";
    case IDABORT: return "Abort";
    case IDRETRY: return "Retry";
    case IDIGNORE: return "Ignore";
    case IDYES: return "Yes";
    case IDNO: return "No";
    case IDHELP: return "Help";
    case IDTRYAGAIN: return "TryAgain";
    case IDCONTINUE: return "Continue";
    default: return nullptr;
  }
}

struct BoxButton {
  int id;
  LONG left;
};

// The visible push buttons of a message box, left to right.
std::vector<BoxButton> VisibleButtons(HWND box) {
  std::vector<BoxButton> buttons;
  for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (!(GetWindowLongW(child, GWL_STYLE) & WS_VISIBLE)) continue;
    if (!SameText(ClassNameOf(child), L"Button")) continue;
    const int id = GetDlgCtrlID(child);
    if (!ButtonName(id)) continue;
    RECT rect;
    GetWindowRect(child, &rect);
    buttons.push_back({id, rect.left});
  }
  std::stable_sort(buttons.begin(), buttons.end(), [](const BoxButton& a, const BoxButton& b) { return a.left < b.left; });
  return buttons;
}

// The message text of a box: the static control with id 0xFFFF, or else the first static text that is no icon.
std::wstring MessageBoxText(HWND box) {
  if (HWND text = GetDlgItem(box, kMessageBoxTextId)) return WindowText(text);
  for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (!SameText(ClassNameOf(child), L"Static")) continue;
    if ((GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) continue;
    std::wstring text = WindowText(child);
    if (!text.empty()) return text;
  }
  return {};
}

}  // namespace

WindowHooks::~WindowHooks() {
  if (cbtHook_) UnhookWindowsHookEx(cbtHook_);
  if (callWndRetHook_) UnhookWindowsHookEx(callWndRetHook_);
  if (active_ == this) active_ = nullptr;
}

bool WindowHooks::Install(bool answerMessageBoxes) {
  answerMessageBoxes_ = answerMessageBoxes;
  active_ = this;
  const DWORD thread = GetCurrentThreadId();
  cbtHook_ = SetWindowsHookExW(WH_CBT, CbtHook, nullptr, thread);
  callWndRetHook_ = SetWindowsHookExW(WH_CALLWNDPROCRET, CallWndRetHook, nullptr, thread);
  return cbtHook_ && callWndRetHook_;
}

void WindowHooks::SetClientWindows(HWND mainWindow, HWND folderTree) {
  mainWindow_ = mainWindow;
  folderTree_ = folderTree;
}

void WindowHooks::ArmDialogSnapshot(const std::wstring& path, int nth) {
  snapshotPath_ = path;
  snapshotCountdown_ = nth;
}

std::string WindowHooks::DescribeWindow(HWND window) const {
  if (!window) return "none";
  if (window == mainWindow_) return "main";
  if (window == folderTree_) return "tree";
  if (dialogs_.count(window)) return "dialog";
  char text[32];
  std::snprintf(text, sizeof text, "0x%llx", static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(window)));
  return text;
}

LRESULT CALLBACK WindowHooks::CbtHook(int code, WPARAM wParam, LPARAM lParam) {
  if (active_ && code >= 0) {
    const auto window = reinterpret_cast<HWND>(wParam);
    switch (code) {
      case HCBT_CREATEWND:
        active_->OnWindowCreated(window, *reinterpret_cast<CBT_CREATEWNDW*>(lParam)->lpcs);
        break;
      case HCBT_ACTIVATE: active_->OnWindowActivated(window); break;
      case HCBT_DESTROYWND: active_->OnWindowDestroyed(window); break;
      default: break;
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK WindowHooks::CallWndRetHook(int code, WPARAM wParam, LPARAM lParam) {
  if (active_ && code >= 0) active_->OnMessageHandled(*reinterpret_cast<const CWPRETSTRUCT*>(lParam));
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

bool WindowHooks::IsPluginInstance(HINSTANCE instance) {
  if (!instance || instance == GetModuleHandleW(nullptr)) return false;
  if (const auto found = pluginInstances_.find(instance); found != pluginInstances_.end()) return found->second;
  // Windows made from the system's own resources (message boxes, common dialogs) are not the plug-in's.
  wchar_t module[MAX_PATH] = {};
  wchar_t system[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameW(instance, module, MAX_PATH);
  const UINT systemLength = GetSystemDirectoryW(system, MAX_PATH);
  const bool isSystem = length == 0 || (systemLength > 0 && length > systemLength &&
                                        CompareStringOrdinal(module, static_cast<int>(systemLength), system,
                                                             static_cast<int>(systemLength), TRUE) == CSTR_EQUAL);
  pluginInstances_[instance] = !isSystem;
  return !isSystem;
}

void WindowHooks::OnWindowCreated(HWND window, const CREATESTRUCTW& create) {
  const bool topLevel = !(create.style & WS_CHILD) && create.hwndParent != HWND_MESSAGE;
  if (!topLevel || !IsPluginInstance(create.hInstance)) return;
  const bool dialogClass =
      IS_INTRESOURCE(create.lpszClass) ? LOWORD(reinterpret_cast<ULONG_PTR>(create.lpszClass)) == kDialogClassAtom
                                       : SameText(create.lpszClass, L"#32770");
  std::wstring caption = create.lpszName && !IS_INTRESOURCE(create.lpszName) ? create.lpszName : L"";
  std::string origin;
  if (dialogClass) {
    if (const auto id = FindDialogTemplate(reinterpret_cast<HMODULE>(create.hInstance), caption)) {
      origin = JInt(*id);
    } else {
      origin = "#32770";
    }
  } else {
    origin = IS_INTRESOURCE(create.lpszClass) ? "atom" + JInt(LOWORD(reinterpret_cast<ULONG_PTR>(create.lpszClass)))
                                              : JWide(create.lpszClass);
  }
  journal_.Write({"dialog", JWide(caption), origin});
  dialogs_[window] = Dialog{std::move(caption)};
}

void WindowHooks::OnWindowActivated(HWND window) {
  if (dialogs_.count(window) || boxesJournaled_.count(window) || !IsDialogClass(window)) return;
  boxesJournaled_.insert(window);
  JournalMessageBox(window);
}

void WindowHooks::JournalMessageBox(HWND box) {
  const std::vector<BoxButton> buttons = VisibleButtons(box);
  std::string names;
  for (const BoxButton& button : buttons) {
    if (!names.empty()) names += ' ';
    names += ButtonName(button.id);
  }
  journal_.Write({"msgbox", DescribeWindow(GetWindow(box, GW_OWNER)), JWide(WindowText(box)),
                  JWide(MessageBoxText(box)), names});
  journal_.Flush();
  if (!answerMessageBoxes_) return;
  const LRESULT defaultId = SendMessageW(box, DM_GETDEFID, 0, 0);
  int id = HIWORD(defaultId) == DC_HASDEFID ? LOWORD(defaultId) : 0;
  if (!id && !buttons.empty()) id = buttons.front().id;
  if (!id) id = IDCANCEL;
  PostMessageW(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, id)));
}

void WindowHooks::OnWindowDestroyed(HWND window) {
  boxesJournaled_.erase(window);
  const auto dialog = dialogs_.find(window);
  if (dialog == dialogs_.end()) return;
  journal_.Write({"dialog-end", JWide(WindowText(window))});
  dialogs_.erase(dialog);
  controlKinds_.clear();  // handles of its controls may be reused by other windows
}

WindowHooks::ControlKind WindowHooks::KindOf(HWND control) {
  if (const auto found = controlKinds_.find(control); found != controlKinds_.end()) return found->second;
  ControlKind kind = ControlKind::kOther;
  if (dialogs_.count(GetAncestor(control, GA_ROOT))) {
    const std::wstring name = ClassNameOf(control);
    if (SameText(name, STATUSCLASSNAMEW)) kind = ControlKind::kStatusBar;
    if (SameText(name, PROGRESS_CLASSW)) kind = ControlKind::kProgressBar;
  }
  controlKinds_[control] = kind;
  return kind;
}

void WindowHooks::OnMessageHandled(const CWPRETSTRUCT& message) {
  switch (message.message) {
    case WM_SETTEXT:
      if (dialogs_.count(message.hwnd)) journal_.Write({"caption", JWide(WindowText(message.hwnd))});
      return;
    case SB_SETTEXTA:  // == PBM_SETRANGE
    case SB_SETTEXTW:
    case PBM_SETPOS:
    case PBM_DELTAPOS:
    case PBM_SETSTEP:
    case PBM_STEPIT:
    case PBM_SETRANGE32:
      break;
    default:
      return;
  }
  const ControlKind kind = KindOf(message.hwnd);
  if (kind == ControlKind::kStatusBar) {
    const bool partZero = (message.wParam & 0xFF) == 0 && !(message.wParam & SBT_OWNERDRAW);
    if (!partZero || !message.lParam) return;
    if (message.message == SB_SETTEXTA) {
      JournalStatusText(JText932(reinterpret_cast<const char*>(message.lParam)), message.hwnd);
    } else if (message.message == SB_SETTEXTW) {
      JournalStatusText(JWide(reinterpret_cast<const wchar_t*>(message.lParam)), message.hwnd);
    }
  } else if (kind == ControlKind::kProgressBar) {
    switch (message.message) {
      case PBM_SETRANGE:
        journal_.Write({"progress", "range", JInt(LOWORD(message.lParam)), JInt(HIWORD(message.lParam))});
        break;
      case PBM_SETRANGE32:
        journal_.Write({"progress", "range", JInt(static_cast<int>(message.wParam)),
                        JInt(static_cast<int>(message.lParam))});
        break;
      case PBM_SETPOS: journal_.Write({"progress", "pos", JInt(static_cast<int>(message.wParam))}); break;
      case PBM_DELTAPOS: journal_.Write({"progress", "delta", JInt(static_cast<int>(message.wParam))}); break;
      case PBM_SETSTEP: journal_.Write({"progress", "step", JInt(static_cast<int>(message.wParam))}); break;
      case PBM_STEPIT: journal_.Write({"progress", "stepit"}); break;
      default: break;
    }
  }
}

void WindowHooks::JournalStatusText(std::string text, HWND statusBar) {
  journal_.Write({"status", text});
  if (snapshotCountdown_ <= 0 || --snapshotCountdown_ > 0) return;
  const HWND dialog = GetAncestor(statusBar, GA_ROOT);
  RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
  const bool saved = SaveScreenshot(snapshotPath_);
  journal_.Write({"snap", JWide(snapshotPath_), saved ? "ok" : "failed"});
}
