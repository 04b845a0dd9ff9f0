#include "index_path.h"

std::string ResolveIndexPath(const std::string& configPath, const std::string& value) {
  if (value.find(":\\") != std::string::npos) return value;
  const std::string folder = value.empty() ? kDefaultIndexFolder : value;
  const std::size_t lastBackslash = configPath.rfind('\\');
  const std::string libraryFolder = lastBackslash == std::string::npos ? "" : configPath.substr(0, lastBackslash + 1);
  return libraryFolder + folder;
}
