// The mail client that the stand-in plays: its store, current folder and message, the API that plug-ins call
// (through the exports of edmax_exports.cpp), its plug-ins, window and script.
#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "command_line.h"
#include "journal.h"
#include "mail_store.h"
#include "main_window.h"
#include "message_summary.h"
#include "plugin_host.h"
#include "window_hooks.h"

class ScriptRunner;

class StandinClient final : public MainWindowEvents {
 public:
  StandinClient(Journal& journal, StandinOptions options);
  StandinClient(const StandinClient&) = delete;
  StandinClient& operator=(const StandinClient&) = delete;
  ~StandinClient();

  // Sets up the client, loads the plug-ins, runs the message loop; the process's exit code.
  int Run(HINSTANCE instance);

  // The client whose API the exports serve, or null before Run and after it.
  static StandinClient* current() { return current_; }

  // The plug-in API (see edmax_api.h); every call is journaled.
  int EdaGetStaticWindows(HWND* mainWindow, HWND* folderTree, HWND* third, HWND* fourth, HWND* fifth);
  int EdaGetTempID(HMODULE plugin, int commandId);
  int EdaGetCurrentCtxpath(char* buffer);
  int EdaGetMessageCount(int zero);
  int EdaGetNextMessagePath(int cursor, char* buffer, int zero);
  char* EdaGetMessage(const char* messagePath);
  int EdaReleaseEdmaxBuffer();
  int EdaRunMacro(const char* statement);
  int EdaSelectMessage(const char* messagePath, int show);
  int EdaUnusedCall(const char* name);

  // What scripts do.
  Journal& journal() { return journal_; }
  MailStore& store() { return store_; }
  MainWindow& window() { return window_; }
  PluginHost& plugins() { return plugins_; }
  WindowHooks& hooks() { return hooks_; }
  bool SelectFolder(int folder) { return window_.SelectFolder(folder); }
  bool DeleteMessage(int folder, const std::string& fileName932);
  // Unloads the plug-ins, journals the final state and closes the window (once no command is running).
  void Quit();

 private:
  // MainWindowEvents
  void OnFolderSelected(int folder) override;
  void OnMessageSelected(int index) override;
  std::wstring MessageColumnText(int index, int column) override;
  void OnMenuCommand(int id) override;
  void OnScriptStep() override;
  void OnTimer(UINT_PTR id) override;
  void OnCloseRequested() override;

  bool Start(HINSTANCE instance);
  void LoadPlugins();
  void RefreshMessages();
  std::string CurrentCtxPath() const;
  std::string MessagePathAt(int index) const;
  static LONG WINAPI OnUnhandledException(EXCEPTION_POINTERS* exception);

  Journal& journal_;
  StandinOptions options_;
  MailStore store_;
  MainWindow window_;
  WindowHooks hooks_;
  PluginHost plugins_;
  std::unique_ptr<ScriptRunner> script_;

  int currentFolder_ = 0;
  std::vector<std::string> messages_;  // file names of the current folder's messages
  std::vector<std::optional<MessageSummary>> summaries_;
  int currentMessage_ = -1;
  std::string lentText_;  // the text that the last EDA_GetMessage returned
  bool textLent_ = false;
  bool quitting_ = false;
  bool quitPending_ = false;

  static StandinClient* current_;
};
