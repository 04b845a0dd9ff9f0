// Where the index lies when the command line does not say: where Corvidex.dll, beside this program, keeps it.
#pragma once

#include <string>

namespace corvidex_search {

struct IndexLocation {
  std::string path;        // the index directory, system code page; empty when it cannot be known
  std::string configPath;  // the configuration file that was read (or could not be), system code page
};

// Reads Corvidex.conf beside Corvidex.dll in this program's folder and resolves its "index" value by the
// plug-in's own rule. path is empty when the configuration file cannot be read: the plug-in does not load then
// either, so there is no index of its to find.
IndexLocation LocateIndex();

}  // namespace corvidex_search
