// Watches the windows that appear on the client's thread, as the journal needs them: message boxes (journaled and,
// in scripted mode, answered with their default button) and plug-in dialogs (appearance, caption changes, status
// bar texts, progress bar messages, end). Thread-local hooks: they see exactly the client's user-interface thread.
#pragma once

#include <windows.h>

#include <string>
#include <unordered_map>
#include <unordered_set>

#include "journal.h"

class WindowHooks {
 public:
  explicit WindowHooks(Journal& journal) : journal_(journal) {}
  WindowHooks(const WindowHooks&) = delete;
  WindowHooks& operator=(const WindowHooks&) = delete;
  ~WindowHooks();

  // Installs the hooks on the calling thread. With answerMessageBoxes every message box is answered with its
  // default button right after it has been journaled.
  bool Install(bool answerMessageBoxes);
  void SetClientWindows(HWND mainWindow, HWND folderTree);

  // After the nth status text set from now on, writes a screenshot to path (the dialog repainted first).
  void ArmDialogSnapshot(const std::wstring& path, int nth);

  // How the journal names a window: main, tree, none, dialog, or its handle in hexadecimal.
  std::string DescribeWindow(HWND window) const;

 private:
  enum class ControlKind { kOther, kStatusBar, kProgressBar };
  struct Dialog {
    std::wstring caption;
  };

  static LRESULT CALLBACK CbtHook(int code, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK CallWndRetHook(int code, WPARAM wParam, LPARAM lParam);

  void OnWindowCreated(HWND window, const CREATESTRUCTW& create);
  void OnWindowActivated(HWND window);
  void OnWindowDestroyed(HWND window);
  void OnMessageHandled(const CWPRETSTRUCT& message);
  void JournalMessageBox(HWND box);
  void JournalStatusText(std::string text, HWND statusBar);
  bool IsPluginInstance(HINSTANCE instance);
  ControlKind KindOf(HWND control);

  Journal& journal_;
  bool answerMessageBoxes_ = false;
  HWND mainWindow_ = nullptr;
  HWND folderTree_ = nullptr;
  HHOOK cbtHook_ = nullptr;
  HHOOK callWndRetHook_ = nullptr;
  std::unordered_map<HWND, Dialog> dialogs_;
  std::unordered_set<HWND> boxesJournaled_;
  std::unordered_map<HWND, ControlKind> controlKinds_;
  std::unordered_map<HINSTANCE, bool> pluginInstances_;
  std::wstring snapshotPath_;
  int snapshotCountdown_ = 0;

  static WindowHooks* active_;
};
