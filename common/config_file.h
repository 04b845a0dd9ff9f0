// The key=value configuration file that lies beside each plug-in library.
#pragma once

#include <map>
#include <optional>
#include <string>

// Orders keys without regard to letter case: the platform's lstrcmpiA on Windows, a case-insensitive byte
// comparison elsewhere. Keys that compare equal are the same key.
struct CaseInsensitiveLess {
  bool operator()(const std::string& a, const std::string& b) const;
};

class CConfigFile {
 public:
  // Reads the file at path. True when the file could be opened, whatever it held; the map then holds exactly the
  // settings of this file. False when it could not be opened; the map keeps what it held.
  bool Load(const std::string& path);

  // The stored value of key, or empty text when the key is absent (an empty value reads the same).
  std::string Get(const std::string& key) const;

  const std::string& Path() const { return path_; }

 private:
  std::string path_;
  std::map<std::string, std::string, CaseInsensitiveLess> entries_;
};

// The configuration path of a library at modulePath: everything from the last '.' of the whole path is replaced by
// ".conf"; a path without any '.' gets ".conf" appended.
std::string ConfigPathForModule(const std::string& modulePath);

#ifdef _WIN32
#include <windows.h>
// The full path of module as the platform reports it into a MAX_PATH buffer; empty when it cannot be had.
std::string ModuleFilePath(HMODULE module);
#endif
