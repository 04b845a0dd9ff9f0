#include "scratch_folder.h"

#include <atomic>
#include <chrono>

ScratchFolder::ScratchFolder(const std::string& caseName, const std::string& root) {
  static std::atomic<unsigned> counter{0};
  const auto base = root.empty() ? std::filesystem::temp_directory_path() : std::filesystem::path(root);
  const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  std::error_code error;
  do {
    path_ = base / ("estraier-" + caseName + "-" + std::to_string(stamp) + "-" + std::to_string(counter++));
  } while (!std::filesystem::create_directories(path_, error) && !error);
}

ScratchFolder::~ScratchFolder() {
  std::error_code error;
  std::filesystem::remove_all(path_, error);
}
