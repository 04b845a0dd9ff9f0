#include "config_file.h"

#include <fstream>
#include <iterator>

#include "trim.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <strings.h>
#endif

bool CaseInsensitiveLess::operator()(const std::string& a, const std::string& b) const {
#ifdef _WIN32
  return lstrcmpiA(a.c_str(), b.c_str()) < 0;
#else
  return strcasecmp(a.c_str(), b.c_str()) < 0;
#endif
}

namespace {

// Splits one line into a setting; a line that holds none (blank, comment, no '=', empty key) gives nothing.
std::optional<std::pair<std::string, std::string>> ParseLine(std::string line) {
  Trim(line);
  if (line.empty() || line.front() == '#') return std::nullopt;
  const auto equals = line.find('=');
  // A line without '=' holds no setting: storing it under its own text would give the key a value that is no
  // value (a bare "PollingTime" would read as a period of 0).
  if (equals == std::string::npos) return std::nullopt;
  std::string key = line.substr(0, equals);
  std::string value = line.substr(equals + 1);
  Trim(key);
  if (key.empty()) return std::nullopt;
  Trim(value);
  return std::make_pair(std::move(key), std::move(value));
}

}  // namespace

bool CConfigFile::Load(const std::string& path) {
  path_ = path;
  // Binary mode: line ends are handled below, and the C run-time opens the file without denying other processes
  // read or write access.
  std::ifstream file(path, std::ios::binary);
  if (!file) return false;
  const std::string content{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};

  entries_.clear();
  std::size_t start = 0;
  while (start < content.size()) {
    auto end = content.find('\n', start);
    const bool lastLine = end == std::string::npos;  // a last line without a line feed counts like any other
    if (lastLine) end = content.size();
    std::size_t lineEnd = end;
    if (!lastLine && lineEnd > start && content[lineEnd - 1] == '\r') --lineEnd;
    if (auto setting = ParseLine(content.substr(start, lineEnd - start))) {
      entries_.emplace(std::move(setting->first), std::move(setting->second));  // the first occurrence wins
    }
    start = end + 1;
  }
  return true;
}

std::string CConfigFile::Get(const std::string& key) const {
  const auto found = entries_.find(key);
  return found == entries_.end() ? std::string() : found->second;
}

std::string ConfigPathForModule(const std::string& modulePath) {
  const auto dot = modulePath.rfind('.');
  if (dot == std::string::npos) return modulePath + ".conf";
  return modulePath.substr(0, dot) + ".conf";
}

#ifdef _WIN32
std::string ModuleFilePath(HMODULE module) {
  char buffer[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameA(module, buffer, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return {};
  return std::string(buffer, length);
}
#endif
