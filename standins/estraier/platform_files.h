// The few file-system operations the stand-in's storage needs, over the C run-time and the platform's calls.
// Paths are byte strings in the system's code page (Windows) or as given (elsewhere).
#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace estraier_standin {

bool IsDirectory(const std::string& path);
bool Exists(const std::string& path);
bool MakeDirectory(const std::string& path);
// Renames from over to, replacing to if it exists, as one step of the file system.
bool ReplaceFileAtomically(const std::string& from, const std::string& to);
bool RemoveFile(const std::string& path);
std::optional<uint64_t> FileSize(const std::string& path);
bool TruncateFile(const std::string& path, uint64_t size);
std::vector<std::string> ListDirectory(const std::string& path);
std::string JoinPath(const std::string& directory, const std::string& name);

// Writes what the stream buffers through to the disk.
bool SyncFile(std::FILE* file);
bool SeekTo(std::FILE* file, uint64_t offset);

// An exclusive lock on a file, held while the object lives and released by the system if the process dies.
class ExclusiveFileLock {
 public:
  ExclusiveFileLock() = default;
  ~ExclusiveFileLock();
  ExclusiveFileLock(ExclusiveFileLock&& other) noexcept : handle_(other.handle_) { other.handle_ = kNone; }
  ExclusiveFileLock& operator=(ExclusiveFileLock&& other) noexcept;
  ExclusiveFileLock(const ExclusiveFileLock&) = delete;
  ExclusiveFileLock& operator=(const ExclusiveFileLock&) = delete;

  // Creates the file when missing and locks it without waiting; false when another holder has it.
  bool Acquire(const std::string& path);

 private:
  static constexpr intptr_t kNone = -1;
  void Release();
  intptr_t handle_ = kNone;  // a file handle (Windows) or descriptor
};

// Owns a C stream and closes it.
class CFile {
 public:
  CFile() = default;
  CFile(const std::string& path, const char* mode) : file_(std::fopen(path.c_str(), mode)) {}
  ~CFile() { Close(); }
  CFile(CFile&& other) noexcept : file_(other.file_) { other.file_ = nullptr; }
  CFile& operator=(CFile&& other) noexcept {
    if (this != &other) {
      Close();
      file_ = other.file_;
      other.file_ = nullptr;
    }
    return *this;
  }
  CFile(const CFile&) = delete;
  CFile& operator=(const CFile&) = delete;

  std::FILE* get() const { return file_; }
  explicit operator bool() const { return file_ != nullptr; }
  // Closes the stream; false when buffered data could not be written.
  bool Close() {
    bool ok = true;
    if (file_) ok = std::fclose(file_) == 0;
    file_ = nullptr;
    return ok;
  }

 private:
  std::FILE* file_ = nullptr;
};

}  // namespace estraier_standin
