#include "index_location.h"

#include <windows.h>

#include "config_file.h"
#include "index_path.h"

namespace corvidex_search {

namespace {
constexpr const char* kPluginFileName = "Corvidex.dll";
}

IndexLocation LocateIndex() {
  IndexLocation location;
  const std::string programPath = ModuleFilePath(nullptr);
  const std::size_t lastBackslash = programPath.rfind('\\');
  if (lastBackslash == std::string::npos) return location;
  const std::string pluginPath = programPath.substr(0, lastBackslash + 1) + kPluginFileName;
  location.configPath = ConfigPathForModule(pluginPath);

  CConfigFile config;
  if (!config.Load(location.configPath)) return location;
  location.path = ResolveIndexPath(location.configPath, config.Get("index"));
  return location;
}

}  // namespace corvidex_search
