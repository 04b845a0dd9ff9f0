#include "mail_store.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>

#include "text_codec.h"
#include "unique_handle.h"

namespace {

const wchar_t kRootItemName[] = L"(すべてのアカウント)";

bool IsDots(const wchar_t* name) { return wcscmp(name, L".") == 0 || wcscmp(name, L"..") == 0; }

bool HasMessageExtension(std::wstring_view name) {
  return name.size() > 4 && CompareStringOrdinal(name.data() + name.size() - 4, 4, L".eml", 4, TRUE) == CSTR_EQUAL;
}

// Entries of a directory, by kind, as pairs of (code page 932 name, wide name), sorted by the 932 bytes. Names
// that code page 932 cannot hold are left out: the client could not name them.
std::vector<std::pair<std::string, std::wstring>> ListDirectory(const std::wstring& dir, bool folders) {
  std::vector<std::pair<std::string, std::wstring>> entries;
  WIN32_FIND_DATAW data;
  UniqueFind find(FindFirstFileW((dir + L"\\*").c_str(), &data));
  if (!find.valid()) return entries;
  do {
    const bool isFolder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    if (isFolder != folders || IsDots(data.cFileName)) continue;
    if (!folders && !HasMessageExtension(data.cFileName)) continue;
    if (!FitsCodePage932(data.cFileName)) continue;
    entries.emplace_back(To932(data.cFileName), data.cFileName);
  } while (FindNextFileW(find.get(), &data));
  std::sort(entries.begin(), entries.end());
  return entries;
}

}  // namespace

bool MailStore::Load(const std::wstring& root, std::wstring& error) {
  folders_.clear();
  wchar_t full[MAX_PATH * 4];
  const DWORD length = GetFullPathNameW(root.c_str(), static_cast<DWORD>(std::size(full)), full, nullptr);
  if (length == 0 || length >= std::size(full)) {
    error = L"cannot resolve the store path";
    return false;
  }
  std::wstring base(full, length);
  while (base.size() > 3 && (base.back() == L'\\' || base.back() == L'/')) base.pop_back();
  const std::wstring accounts = base + L"\\Account";
  const DWORD attributes = GetFileAttributesW(accounts.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    error = L"no Account folder in " + base;
    return false;
  }
  MailFolder rootItem;
  rootItem.name = kRootItemName;
  rootItem.fsPath = accounts;  // only used to find the accounts; the root item has no ctxPath
  folders_.push_back(std::move(rootItem));
  AddChildren(0);
  folders_[0].fsPath.clear();
  return true;
}

void MailStore::AddChildren(int parent) {
  const std::wstring dir = folders_[static_cast<std::size_t>(parent)].fsPath;
  const std::wstring relBase = folders_[static_cast<std::size_t>(parent)].relPath;
  for (auto& [name932, name] : ListDirectory(dir, true)) {
    MailFolder child;
    child.name = name;
    child.fsPath = dir + L"\\" + name;
    child.relPath = relBase.empty() ? name : relBase + L"\\" + name;
    child.ctxPath = To932(child.fsPath);
    child.parent = parent;
    const int index = static_cast<int>(folders_.size());
    folders_.push_back(std::move(child));
    folders_[static_cast<std::size_t>(parent)].children.push_back(index);
    AddChildren(index);
  }
}

int MailStore::FindByRelPath(std::wstring_view relPath) const {
  std::wstring wanted(relPath);
  std::replace(wanted.begin(), wanted.end(), L'/', L'\\');
  while (!wanted.empty() && wanted.back() == L'\\') wanted.pop_back();
  for (std::size_t i = 0; i < folders_.size(); ++i) {
    if (folders_[i].relPath == wanted) return static_cast<int>(i);
  }
  return -1;
}

int MailStore::FindByCtxPath(std::string_view ctxPath) const {
  if (ctxPath.empty()) return -1;
  for (std::size_t i = 1; i < folders_.size(); ++i) {
    if (folders_[i].ctxPath == ctxPath) return static_cast<int>(i);
  }
  return -1;
}

std::vector<std::string> MailStore::ListMessages(int folder) const {
  std::vector<std::string> names;
  if (folder <= 0 || folder >= static_cast<int>(folders_.size())) return names;
  for (auto& entry : ListDirectory(this->folder(folder).fsPath, false)) names.push_back(std::move(entry.first));
  return names;
}

std::string MailStore::MessagePath(const MailFolder& folder, std::string_view fileName) {
  return folder.ctxPath + ":" + std::string(fileName);
}

std::wstring MailStore::MessageFile(int folder, std::string_view fileName) const {
  if (folder <= 0 || folder >= static_cast<int>(folders_.size()) || fileName.empty()) return {};
  // A file name, not a path: nothing outside the folder can be reached.
  if (fileName.find_first_of("\\/:") != std::string_view::npos) return {};
  const std::wstring wideName = WideFrom932(fileName);
  if (!HasMessageExtension(wideName)) return {};
  return this->folder(folder).fsPath + L"\\" + wideName;
}

std::wstring MailStore::MessageFile(std::string_view messagePath) const {
  const auto colon = messagePath.rfind(':');
  if (colon == std::string_view::npos) return {};
  return MessageFile(FindByCtxPath(messagePath.substr(0, colon)), messagePath.substr(colon + 1));
}

std::optional<std::string> MailStore::ReadMessage(std::string_view messagePath) const {
  const std::wstring file = MessageFile(messagePath);
  if (file.empty()) return std::nullopt;
  return ReadWholeFile(file);
}

std::optional<std::string> ReadWholeFile(const std::wstring& path, std::size_t limit) {
  UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return std::nullopt;
  LARGE_INTEGER size;
  if (!GetFileSizeEx(file.get(), &size) || static_cast<std::uint64_t>(size.QuadPart) > 0x7FFFFFFF) {
    return std::nullopt;
  }
  std::string content(std::min(static_cast<std::size_t>(size.QuadPart), limit), '\0');
  std::size_t done = 0;
  while (done < content.size()) {
    DWORD got = 0;
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(content.size() - done, 16u << 20));
    if (!ReadFile(file.get(), content.data() + done, chunk, &got, nullptr)) return std::nullopt;
    if (got == 0) break;
    done += got;
  }
  content.resize(done);
  return content;
}
