#include "plugin_host.h"

#include <iterator>

#include "journal_text.h"
#include "text_codec.h"

namespace {

constexpr std::size_t kInfoRecordSize = 32 * 1024;
constexpr unsigned char kInfoFill = 0xCC;

std::string FileNameOf(const std::wstring& path) {
  const auto slash = path.find_last_of(L"\\/");
  return Utf8FromWide(slash == std::wstring::npos ? path : path.substr(slash + 1));
}

std::string Hex(const unsigned char* bytes, std::size_t count) {
  static const char kDigits[] = "0123456789abcdef";
  std::string out;
  out.reserve(count * 2);
  for (std::size_t i = 0; i < count; ++i) {
    out += kDigits[bytes[i] >> 4];
    out += kDigits[bytes[i] & 15];
  }
  return out;
}

template <typename Function>
Function Export(HMODULE module, const char* name) {
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace

void PluginHost::Load(const std::wstring& path) {
  const std::string name = FileNameOf(path);
  SetLastError(0);
  HMODULE module = LoadLibraryA(To932(path).c_str());
  if (!module) {
    const DWORD error = GetLastError();
    journal_.Write({"load", JText(name), "failed", JInt(error)});
    return;
  }
  LoadedPlugin plugin;
  plugin.name = name;
  plugin.module = module;
  plugin.onHandleEvent = Export<EDH_OnHandleEvent_t>(module, "EDH_OnHandleEvent");
  plugin.onCmdProc = Export<EDH_OnCmdProc_t>(module, "EDH_OnCmdProc");
  plugin.aindex = static_cast<int>(plugins_.size());
  journal_.Write({"load", JText(name), "ok"});
  if (!plugin.onHandleEvent) journal_.Write({"warning", JText(name), "no export EDH_OnHandleEvent"});
  if (!plugin.onCmdProc) journal_.Write({"warning", JText(name), "no export EDH_OnCmdProc"});
  plugins_.push_back(std::move(plugin));
}

void PluginHost::UnloadAll() {
  for (LoadedPlugin& plugin : plugins_) {
    FreeLibrary(plugin.module);
    journal_.Write({"unload", JText(plugin.name)});
  }
  plugins_.clear();
}

LoadedPlugin* PluginHost::Find(std::string_view name) {
  const std::wstring wanted = WideFromUtf8(name);
  for (LoadedPlugin& plugin : plugins_) {
    const std::wstring have = WideFromUtf8(plugin.name);
    if (CompareStringOrdinal(have.data(), static_cast<int>(have.size()), wanted.data(),
                             static_cast<int>(wanted.size()), TRUE) == CSTR_EQUAL) {
      return &plugin;
    }
  }
  return nullptr;
}

LoadedPlugin* PluginHost::FindModule(HMODULE module) {
  for (LoadedPlugin& plugin : plugins_) {
    if (plugin.module == module) return &plugin;
  }
  return nullptr;
}

std::string PluginHost::ModuleName(HMODULE module) {
  const LoadedPlugin* plugin = FindModule(module);
  return plugin ? JText(plugin->name) : JPtr(module);
}

int PluginHost::SendEvent(LoadedPlugin& plugin, int hID, int kind, void* data) {
  if (!plugin.onHandleEvent) return 0;
  const int result = plugin.onHandleEvent(plugin.aindex, hID, kind, data);
  journal_.Write({"event", JText(plugin.name), JInt(hID), JInt(kind), JResult(result)});
  return result;
}

void PluginHost::SendInfoEvent(LoadedPlugin& plugin) {
  std::vector<unsigned char> record(kInfoRecordSize, kInfoFill);
  SendEvent(plugin, kEventPluginInfo, 0, record.data());
  for (std::size_t i = 0; i < record.size();) {
    if (record[i] == kInfoFill) {
      ++i;
      continue;
    }
    std::size_t end = i;
    while (end < record.size() && record[end] != kInfoFill) ++end;
    journal_.Write({"info", JText(plugin.name), JInt(static_cast<long long>(i)), Hex(&record[i], end - i)});
    i = end;
  }
}

void PluginHost::SendMenuEvent(LoadedPlugin& plugin, int kind, HMENU menu) {
  const int before = GetMenuItemCount(menu);
  SendEvent(plugin, kEventBuildMenu, kind, menu);
  JournalMenuItems(plugin, menu, before < 0 ? 0 : before);
}

void PluginHost::SendOtherEvent(LoadedPlugin& plugin, int hID, int kind) { SendEvent(plugin, hID, kind, nullptr); }

void PluginHost::JournalMenuItems(const LoadedPlugin& plugin, HMENU menu, int from) {
  const int count = GetMenuItemCount(menu);
  for (int i = from; i < count; ++i) {
    wchar_t caption[256] = {};
    MENUITEMINFOW item = {};
    item.cbSize = sizeof item;
    item.fMask = MIIM_FTYPE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
    item.dwTypeData = caption;
    item.cch = static_cast<UINT>(std::size(caption) - 1);
    if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &item)) continue;
    if (item.fType & MFT_SEPARATOR) {
      journal_.Write({"menu-separator", JText(plugin.name)});
    } else if (item.hSubMenu) {
      journal_.Write({"menu", JText(plugin.name), JWide(caption), JInt(GetMenuItemCount(item.hSubMenu))});
      JournalMenuItems(plugin, item.hSubMenu, 0);
    } else {
      const auto command = CommandOfMenuId(static_cast<int>(item.wID));
      journal_.Write({"menu-item", JText(plugin.name), JWide(caption), command ? JInt(command->second) : "?",
                      JInt(item.wID)});
    }
  }
}

int PluginHost::TempId(HMODULE module, int nID) {
  const auto key = std::make_pair(module, nID);
  if (const auto found = menuIds_.find(key); found != menuIds_.end()) return found->second;
  const int id = nextMenuId_++;
  menuIds_.emplace(key, id);
  commandsByMenuId_.emplace(id, key);
  return id;
}

std::optional<int> PluginHost::MenuIdOf(const LoadedPlugin& plugin, int nID) const {
  const auto found = menuIds_.find(std::make_pair(plugin.module, nID));
  if (found == menuIds_.end()) return std::nullopt;
  return found->second;
}

std::optional<std::pair<HMODULE, int>> PluginHost::CommandOfMenuId(int menuId) const {
  const auto found = commandsByMenuId_.find(menuId);
  if (found == commandsByMenuId_.end()) return std::nullopt;
  return found->second;
}

int PluginHost::RunCommand(LoadedPlugin& plugin, int nID) {
  if (!plugin.onCmdProc) {
    journal_.Write({"warning", JText(plugin.name), "no export EDH_OnCmdProc"});
    return 0;
  }
  ++runningCommands_;
  const int result = plugin.onCmdProc(plugin.aindex, nID);
  --runningCommands_;
  journal_.Write({"command", JText(plugin.name), JInt(nID), JResult(result)});
  return result;
}
