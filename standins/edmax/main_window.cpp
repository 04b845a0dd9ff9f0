#include "main_window.h"

#include <commctrl.h>

namespace {

const wchar_t kClassName[] = L"EdmaxStandinMainWindow";
constexpr int kTreeWidth = 280;
constexpr int kListHeightPercent = 45;

HMENU BuildMenuBar(HMENU& toolsMenu) {
  HMENU bar = CreateMenu();
  HMENU file = CreatePopupMenu();
  AppendMenuW(file, MF_STRING, MainWindow::kExitCommand, L"終了(&X)");
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"ファイル(&F)");
  toolsMenu = CreatePopupMenu();
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(toolsMenu), L"ツール(&T)");
  return bar;
}

void AddColumn(HWND list, int index, const wchar_t* title, int width) {
  LVCOLUMNW column = {};
  column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
  column.pszText = const_cast<wchar_t*>(title);
  column.cx = width;
  column.iSubItem = index;
  SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&column));
}

}  // namespace

MainWindow::~MainWindow() { Destroy(); }

bool MainWindow::Create(HINSTANCE instance, MainWindowEvents& events) {
  events_ = &events;
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_TREEVIEW_CLASSES | ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES |
                                                        ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&controls);

  WNDCLASSEXW windowClass = {};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = kClassName;
  if (!RegisterClassExW(&windowClass) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;

  HMENU menuBar = BuildMenuBar(toolsMenu_);
  main_ = CreateWindowExW(0, kClassName, L"Edmax (stand-in)", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 40, 40, 1000,
                          700, nullptr, menuBar, instance, this);
  if (!main_) {
    DestroyMenu(menuBar);
    return false;
  }
  tree_ = CreateWindowExW(WS_EX_CLIENTEDGE, WC_TREEVIEWW, L"",
                          WS_CHILD | WS_VISIBLE | WS_TABSTOP | TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT |
                              TVS_SHOWSELALWAYS,
                          0, 0, 0, 0, main_, nullptr, instance, nullptr);
  list_ = CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
                          WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_OWNERDATA | LVS_SINGLESEL |
                              LVS_SHOWSELALWAYS,
                          0, 0, 0, 0, main_, nullptr, instance, nullptr);
  view_ = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"",
                          WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_READONLY |
                              ES_AUTOVSCROLL | ES_AUTOHSCROLL,
                          0, 0, 0, 0, main_, nullptr, instance, nullptr);
  status_ = CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0, main_,
                            nullptr, instance, nullptr);
  if (!tree_ || !list_ || !view_ || !status_) return false;
  SendMessageW(list_, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
  AddColumn(list_, 0, L"ファイル", 110);
  AddColumn(list_, 1, L"件名", 280);
  AddColumn(list_, 2, L"差出人", 170);
  AddColumn(list_, 3, L"日付", 150);
  Layout();
  return true;
}

void MainWindow::Show() {
  ShowWindow(main_, SW_SHOW);
  UpdateWindow(main_);
}

void MainWindow::Destroy() {
  if (main_) DestroyWindow(main_);  // destroys the children and the menu bar with it
  main_ = tree_ = list_ = view_ = status_ = nullptr;
}

void MainWindow::FillTree(const MailStore& store) {
  filling_ = true;
  items_.assign(store.folders().size(), nullptr);
  for (std::size_t i = 0; i < store.folders().size(); ++i) {
    const MailFolder& folder = store.folders()[i];
    TVINSERTSTRUCTW insert = {};
    insert.hParent = folder.parent < 0 ? TVI_ROOT : items_[static_cast<std::size_t>(folder.parent)];
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_PARAM;
    insert.item.pszText = const_cast<wchar_t*>(folder.name.c_str());
    insert.item.lParam = static_cast<LPARAM>(i);
    items_[i] = reinterpret_cast<HTREEITEM>(
        SendMessageW(tree_, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
  }
  if (!items_.empty()) SendMessageW(tree_, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(items_[0]));
  filling_ = false;
}

bool MainWindow::SelectFolder(int folder) {
  if (folder < 0 || folder >= static_cast<int>(items_.size())) return false;
  return SendMessageW(tree_, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(items_[static_cast<std::size_t>(folder)])) != 0;
}

void MainWindow::ShowMessageList(int count) {
  SendMessageW(list_, LVM_SETITEMCOUNT, static_cast<WPARAM>(count), 0);
  InvalidateRect(list_, nullptr, TRUE);
  ShowMessageText(L"");
}

void MainWindow::SelectMessageItem(int index) {
  LVITEMW state = {};
  state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  state.state = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageW(list_, LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&state));
  SendMessageW(list_, LVM_ENSUREVISIBLE, static_cast<WPARAM>(index), FALSE);
}

void MainWindow::ShowMessageText(const std::wstring& text) { SetWindowTextW(view_, text.c_str()); }

void MainWindow::SetStatusText(const std::wstring& text) {
  SendMessageW(status_, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void MainWindow::PostScriptStep() { PostMessageW(main_, kScriptStepMessage, 0, 0); }

void MainWindow::Layout() {
  if (!main_ || !status_) return;
  SendMessageW(status_, WM_SIZE, 0, 0);
  RECT client;
  RECT statusRect;
  GetClientRect(main_, &client);
  GetWindowRect(status_, &statusRect);
  const int height = client.bottom - (statusRect.bottom - statusRect.top);
  const int width = client.right;
  const int listHeight = height * kListHeightPercent / 100;
  MoveWindow(tree_, 0, 0, kTreeWidth, height, TRUE);
  MoveWindow(list_, kTreeWidth, 0, width - kTreeWidth, listHeight, TRUE);
  MoveWindow(view_, kTreeWidth, listHeight, width - kTreeWidth, height - listHeight, TRUE);
}

LRESULT CALLBACK MainWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<MainWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!self || !self->main_) return DefWindowProcW(window, message, wParam, lParam);
  return self->Handle(message, wParam, lParam);
}

LRESULT MainWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE: Layout(); return 0;
    case WM_NOTIFY: return HandleNotify(*reinterpret_cast<const NMHDR*>(lParam));
    case WM_COMMAND:
      if (lParam == 0) {  // menus and accelerators; controls' notifications are of no interest
        if (LOWORD(wParam) == kExitCommand) {
          events_->OnCloseRequested();
        } else {
          events_->OnMenuCommand(LOWORD(wParam));
        }
        return 0;
      }
      break;
    case kScriptStepMessage: events_->OnScriptStep(); return 0;
    case WM_TIMER: events_->OnTimer(wParam); return 0;
    case WM_CLOSE: events_->OnCloseRequested(); return 0;
    case WM_DESTROY:
      main_ = nullptr;
      PostQuitMessage(0);
      return 0;
    default: break;
  }
  return DefWindowProcW(main_, message, wParam, lParam);
}

LRESULT MainWindow::HandleNotify(const NMHDR& header) {
  if (header.hwndFrom == tree_ && header.code == TVN_SELCHANGEDW && !filling_) {
    const auto& change = reinterpret_cast<const NMTREEVIEWW&>(header);
    if (change.itemNew.hItem) events_->OnFolderSelected(static_cast<int>(change.itemNew.lParam));
  } else if (header.hwndFrom == list_ && header.code == LVN_GETDISPINFOW) {
    auto& info = const_cast<NMLVDISPINFOW&>(reinterpret_cast<const NMLVDISPINFOW&>(header));
    if (info.item.mask & LVIF_TEXT) {
      cellText_ = events_->MessageColumnText(info.item.iItem, info.item.iSubItem);
      info.item.pszText = cellText_.data();
    }
  } else if (header.hwndFrom == list_ && header.code == LVN_ITEMCHANGED) {
    const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
    if (change.iItem >= 0 && (change.uNewState & LVIS_SELECTED) && !(change.uOldState & LVIS_SELECTED)) {
      events_->OnMessageSelected(change.iItem);
    }
  }
  return 0;
}
