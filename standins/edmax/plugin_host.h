// The plug-ins of the client: loading and unloading, their two exports, the menu identifiers handed out by
// EDA_GetTempID, and the journal lines about all of it.
#pragma once

#include <windows.h>

#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "edmax_api.h"
#include "journal.h"

struct LoadedPlugin {
  std::string name;  // the DLL's file name (UTF-8): how the journal and scripts name the plug-in
  HMODULE module = nullptr;
  EDH_OnHandleEvent_t onHandleEvent = nullptr;
  EDH_OnCmdProc_t onCmdProc = nullptr;
  int aindex = 0;  // the client's number for the plug-in
};

class PluginHost {
 public:
  explicit PluginHost(Journal& journal) : journal_(journal) {}
  PluginHost(const PluginHost&) = delete;
  PluginHost& operator=(const PluginHost&) = delete;
  ~PluginHost() { UnloadAll(); }

  // Loads the DLL (LoadLibraryA, as the client does) and journals the outcome.
  void Load(const std::wstring& path);
  void UnloadAll();

  std::vector<LoadedPlugin>& plugins() { return plugins_; }
  LoadedPlugin* Find(std::string_view name);  // by file name, without regard to case
  LoadedPlugin* FindModule(HMODULE module);
  // The plug-in's name for the journal, or "ptr" for a module that is no plug-in.
  std::string ModuleName(HMODULE module);

  // Event 1000 with a fresh record of 32 KiB filled with 0xCC; journals every run of bytes the plug-in changed.
  void SendInfoEvent(LoadedPlugin& plugin);
  // Event 1001 with the menu; journals the items the plug-in appended.
  void SendMenuEvent(LoadedPlugin& plugin, int kind, HMENU menu);
  // Any other event, with no data.
  void SendOtherEvent(LoadedPlugin& plugin, int hID, int kind);

  // The menu item identifier for a plug-in's command number: a new one at the first request, the same one after.
  int TempId(HMODULE module, int nID);
  std::optional<int> MenuIdOf(const LoadedPlugin& plugin, int nID) const;
  // The plug-in and command number behind a menu item identifier.
  std::optional<std::pair<HMODULE, int>> CommandOfMenuId(int menuId) const;

  // Calls EDH_OnCmdProc and journals its result once it has returned.
  int RunCommand(LoadedPlugin& plugin, int nID);
  bool commandRunning() const { return runningCommands_ > 0; }

 private:
  int SendEvent(LoadedPlugin& plugin, int hID, int kind, void* data);
  void JournalMenuItems(const LoadedPlugin& plugin, HMENU menu, int from);

  Journal& journal_;
  std::vector<LoadedPlugin> plugins_;
  std::map<std::pair<HMODULE, int>, int> menuIds_;
  std::map<int, std::pair<HMODULE, int>> commandsByMenuId_;
  int nextMenuId_ = 40001;
  int runningCommands_ = 0;
};
