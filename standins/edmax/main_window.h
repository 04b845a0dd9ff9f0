// The client's main window: a menu bar ("ファイル" and "ツール"), the folder tree (a real tree-view control), the
// message list of the current folder, a view of the selected message and a status bar.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "mail_store.h"

// What the main window reports to the client.
class MainWindowEvents {
 public:
  virtual void OnFolderSelected(int folder) = 0;
  virtual void OnMessageSelected(int index) = 0;
  virtual std::wstring MessageColumnText(int index, int column) = 0;
  virtual void OnMenuCommand(int id) = 0;
  virtual void OnScriptStep() = 0;
  virtual void OnTimer(UINT_PTR id) = 0;
  virtual void OnCloseRequested() = 0;

 protected:
  ~MainWindowEvents() = default;
};

class MainWindow {
 public:
  static constexpr UINT kScriptStepMessage = WM_APP + 1;
  static constexpr int kExitCommand = 100;

  MainWindow() = default;
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;
  ~MainWindow();

  bool Create(HINSTANCE instance, MainWindowEvents& events);
  void Show();
  void Destroy();

  HWND main() const { return main_; }
  HWND tree() const { return tree_; }
  HWND list() const { return list_; }
  HWND view() const { return view_; }
  HWND statusBar() const { return status_; }
  HMENU toolsMenu() const { return toolsMenu_; }

  // One tree item per folder of the store, in the store's order; the root item expanded.
  void FillTree(const MailStore& store);
  // Selects the folder's tree item as a click would; the client hears of it through OnFolderSelected.
  bool SelectFolder(int folder);
  // The message list shows count messages (texts come from MessageColumnText); nothing selected.
  void ShowMessageList(int count);
  void SelectMessageItem(int index);
  void ShowMessageText(const std::wstring& text);
  void SetStatusText(const std::wstring& text);
  void PostScriptStep();

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleNotify(const NMHDR& header);
  void Layout();

  MainWindowEvents* events_ = nullptr;
  HWND main_ = nullptr;
  HWND tree_ = nullptr;
  HWND list_ = nullptr;
  HWND view_ = nullptr;
  HWND status_ = nullptr;
  HMENU toolsMenu_ = nullptr;
  std::vector<HTREEITEM> items_;
  std::wstring cellText_;  // keeps the text of the last list cell alive until the list has copied it
  bool filling_ = false;
};
