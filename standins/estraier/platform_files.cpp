#include "platform_files.h"

#if defined(_WIN32)
#include <io.h>
#include <windows.h>
#else
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace estraier_standin {

#if defined(_WIN32)

bool IsDirectory(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}
bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }
bool MakeDirectory(const std::string& path) { return CreateDirectoryA(path.c_str(), nullptr) != 0; }
bool ReplaceFileAtomically(const std::string& from, const std::string& to) {
  return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}
bool RemoveFile(const std::string& path) { return DeleteFileA(path.c_str()) != 0; }
std::optional<uint64_t> FileSize(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
  return (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}
bool TruncateFile(const std::string& path, uint64_t size) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER position;
  position.QuadPart = static_cast<LONGLONG>(size);
  bool ok = SetFilePointerEx(file, position, nullptr, FILE_BEGIN) && SetEndOfFile(file);
  CloseHandle(file);
  return ok;
}
std::vector<std::string> ListDirectory(const std::string& path) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(JoinPath(path, "*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    names.push_back(found.cFileName);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return names;
}
std::string JoinPath(const std::string& directory, const std::string& name) {
  if (directory.empty()) return name;
  char last = directory.back();
  return (last == '\\' || last == '/') ? directory + name : directory + "\\" + name;
}
bool SyncFile(std::FILE* file) { return std::fflush(file) == 0 && _commit(_fileno(file)) == 0; }
bool SeekTo(std::FILE* file, uint64_t offset) { return _fseeki64(file, static_cast<__int64>(offset), SEEK_SET) == 0; }

bool ExclusiveFileLock::Acquire(const std::string& path) {
  Release();
  // Opened without sharing: a second opener fails until this handle is closed.
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                            nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  handle_ = reinterpret_cast<intptr_t>(file);
  return true;
}

void ExclusiveFileLock::Release() {
  if (handle_ != kNone) CloseHandle(reinterpret_cast<HANDLE>(handle_));
  handle_ = kNone;
}

#else

bool IsDirectory(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}
bool Exists(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0;
}
bool MakeDirectory(const std::string& path) { return mkdir(path.c_str(), 0755) == 0; }
bool ReplaceFileAtomically(const std::string& from, const std::string& to) { return std::rename(from.c_str(), to.c_str()) == 0; }
bool RemoveFile(const std::string& path) { return unlink(path.c_str()) == 0; }
std::optional<uint64_t> FileSize(const std::string& path) {
  struct stat info;
  if (stat(path.c_str(), &info) != 0) return std::nullopt;
  return static_cast<uint64_t>(info.st_size);
}
bool TruncateFile(const std::string& path, uint64_t size) { return truncate(path.c_str(), static_cast<off_t>(size)) == 0; }
std::vector<std::string> ListDirectory(const std::string& path) {
  std::vector<std::string> names;
  DIR* dir = opendir(path.c_str());
  if (!dir) return names;
  while (dirent* entry = readdir(dir)) names.push_back(entry->d_name);
  closedir(dir);
  return names;
}
std::string JoinPath(const std::string& directory, const std::string& name) {
  if (directory.empty()) return name;
  return directory.back() == '/' ? directory + name : directory + "/" + name;
}
bool SyncFile(std::FILE* file) { return std::fflush(file) == 0 && fsync(fileno(file)) == 0; }
bool SeekTo(std::FILE* file, uint64_t offset) { return fseeko(file, static_cast<off_t>(offset), SEEK_SET) == 0; }

bool ExclusiveFileLock::Acquire(const std::string& path) {
  Release();
  int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    close(fd);
    return false;
  }
  handle_ = fd;
  return true;
}

void ExclusiveFileLock::Release() {
  if (handle_ != kNone) close(static_cast<int>(handle_));
  handle_ = kNone;
}

#endif

ExclusiveFileLock::~ExclusiveFileLock() { Release(); }

ExclusiveFileLock& ExclusiveFileLock::operator=(ExclusiveFileLock&& other) noexcept {
  if (this != &other) {
    Release();
    handle_ = other.handle_;
    other.handle_ = kNone;
  }
  return *this;
}

}  // namespace estraier_standin
