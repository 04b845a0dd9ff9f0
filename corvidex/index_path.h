// Where the index database lies, from the configuration value "index".
#pragma once

#include <string>

// The default location: a folder of this name beside the library.
inline constexpr const char* kDefaultIndexFolder = "cascket";

// A value containing ":\" anywhere is a path of its own and is used unchanged. Any other value (an empty one
// becoming kDefaultIndexFolder) is appended, with no separator added or removed, to configPath cut after its last
// backslash: the library's own folder.
std::string ResolveIndexPath(const std::string& configPath, const std::string& value);
