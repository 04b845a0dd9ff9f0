// The mail store on disk: DIR\Account\<account>\<folder>\...; every file whose name ends in ".eml" is one message
// holding its raw text in code page 932.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct MailFolder {
  std::wstring name;     // the tree item's text
  std::wstring fsPath;   // full path of the folder; empty for the root item
  std::wstring relPath;  // path below "Account\" ("taro\受信箱"); empty for the root item
  std::string ctxPath;   // the client's ctxPath: fsPath in code page 932; empty for the root item
  int parent = -1;
  std::vector<int> children;  // sorted by name
};

class MailStore {
 public:
  // Reads the folder tree below root\Account. Folder 0 is the root item; then accounts and folders in tree order
  // (depth first, each level sorted by the code page 932 bytes of the names). False with a reason when the store
  // cannot be read.
  bool Load(const std::wstring& root, std::wstring& error);

  const std::vector<MailFolder>& folders() const { return folders_; }
  const MailFolder& folder(int index) const { return folders_[static_cast<std::size_t>(index)]; }

  // The folder with that path below "Account\" ('/' or '\' separators; empty: the root item), or -1.
  int FindByRelPath(std::wstring_view relPath) const;
  // The folder with that ctxPath (not the root item), or -1.
  int FindByCtxPath(std::string_view ctxPath) const;

  // File names (code page 932) of the folder's messages, in byte order. The root item has none.
  std::vector<std::string> ListMessages(int folder) const;
  // "ctxPath:file".
  static std::string MessagePath(const MailFolder& folder, std::string_view fileName);
  // The file of a message path, or empty when the path names no message file of a known folder.
  std::wstring MessageFile(std::string_view messagePath) const;
  std::wstring MessageFile(int folder, std::string_view fileName) const;

  // The raw text of the message, or nothing when there is no such message (any more).
  std::optional<std::string> ReadMessage(std::string_view messagePath) const;

 private:
  void AddChildren(int parent);

  std::vector<MailFolder> folders_;
};

// Reads a whole file; nothing when it cannot be opened or read.
std::optional<std::string> ReadWholeFile(const std::wstring& path, std::size_t limit = SIZE_MAX);
