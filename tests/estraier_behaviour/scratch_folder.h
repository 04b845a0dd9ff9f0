// A scratch folder for one case of the behaviour table, removed with everything in it when the owner goes.
#pragma once

#include <filesystem>
#include <string>

class ScratchFolder {
 public:
  // A new, empty folder below root (the system's temporary folder when root is empty).
  ScratchFolder(const std::string& caseName, const std::string& root = {});
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  std::string path() const { return path_.string(); }

 private:
  std::filesystem::path path_;
};
