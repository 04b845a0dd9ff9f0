// The plug-in API of the client: what each EDA_ function does, and its journal line.
#include <algorithm>
#include <cstring>

#include "journal_text.h"
#include "standin_client.h"
#include "text_codec.h"

namespace {

constexpr char kActivateMailerPart[] = "ActivateMailerPart();";
constexpr char kOpenFolderStart[] = "OpenThisFolder(";
constexpr char kOpenFolderEnd[] = ");";

// Copies text into a caller's path buffer of kEdmaxPathBufferSize bytes; a longer text is cut, never overrun.
bool CopyToPathBuffer(char* buffer, const std::string& text) {
  const std::size_t length = std::min<std::size_t>(text.size(), kEdmaxPathBufferSize - 1);
  std::memcpy(buffer, text.data(), length);
  buffer[length] = '\0';
  return length == text.size();
}

}  // namespace

int StandinClient::EdaGetStaticWindows(HWND* mainWindow, HWND* folderTree, HWND* third, HWND* fourth, HWND* fifth) {
  if (mainWindow) *mainWindow = window_.main();
  if (folderTree) *folderTree = window_.tree();
  if (third) *third = window_.list();
  if (fourth) *fourth = window_.view();
  if (fifth) *fifth = window_.statusBar();
  journal_.Write({"call", "EDA_GetStaticWindows", JPtr(mainWindow), JPtr(folderTree), JPtr(third), JPtr(fourth),
                  JPtr(fifth), JResult(1)});
  return 1;
}

int StandinClient::EdaGetTempID(HMODULE plugin, int commandId) {
  const int id = plugins_.TempId(plugin, commandId);
  journal_.Write({"call", "EDA_GetTempID", plugins_.ModuleName(plugin), JInt(commandId), JResult(id)});
  return id;
}

int StandinClient::EdaGetCurrentCtxpath(char* buffer) {
  const std::string ctxPath = CurrentCtxPath();
  if (!buffer) {
    journal_.Write({"call", "EDA_GetCurrentCtxpath", "NULL", JResult(0)});
    return 0;
  }
  if (!CopyToPathBuffer(buffer, ctxPath)) journal_.Write({"warning", "EDA_GetCurrentCtxpath", "path cut to fit"});
  journal_.Write({"call", "EDA_GetCurrentCtxpath", JText932(buffer), JResult(1)});
  return 1;
}

int StandinClient::EdaGetMessageCount(int zero) {
  const int count = static_cast<int>(messages_.size());
  journal_.Write({"call", "EDA_GetMessageCount", JInt(zero), JResult(count)});
  return count;
}

int StandinClient::EdaGetNextMessagePath(int cursor, char* buffer, int zero) {
  // The cursor is the index of the message last written; -1 starts.
  const long long index = static_cast<long long>(cursor) + 1;
  int result = -1;
  if (buffer && cursor >= -1 && index < static_cast<long long>(messages_.size())) {
    if (!CopyToPathBuffer(buffer, MessagePathAt(static_cast<int>(index)))) {
      journal_.Write({"warning", "EDA_GetNextMessagePath", "path cut to fit"});
    }
    result = static_cast<int>(index);
  }
  journal_.Write({"call", "EDA_GetNextMessagePath", JInt(cursor), result >= 0 ? JText932(buffer) : JPtr(buffer),
                  JInt(zero), JResult(result)});
  return result;
}

char* StandinClient::EdaGetMessage(const char* messagePath) {
  if (textLent_) journal_.Write({"warning", "EDA_GetMessage", "the last text was not released"});
  lentText_.clear();
  lentText_.shrink_to_fit();
  textLent_ = false;
  std::optional<std::string> text = messagePath ? store_.ReadMessage(messagePath) : std::nullopt;
  if (text) {
    lentText_ = std::move(*text);
    textLent_ = true;
  }
  journal_.Write({"call", "EDA_GetMessage", JText932(messagePath), textLent_ ? "= ptr" : "= NULL"});
  return textLent_ ? lentText_.data() : nullptr;
}

int StandinClient::EdaReleaseEdmaxBuffer() {
  if (!textLent_) journal_.Write({"warning", "EDA_ReleaseEdmaxBuffer", "no text to release"});
  lentText_.clear();
  lentText_.shrink_to_fit();
  textLent_ = false;
  journal_.Write({"call", "EDA_ReleaseEdmaxBuffer", JResult(1)});
  return 1;
}

int StandinClient::EdaRunMacro(const char* statement) {
  int result = 0;
  const std::string text = statement ? statement : "";
  const std::size_t start = sizeof kOpenFolderStart - 1;
  const std::size_t end = sizeof kOpenFolderEnd - 1;
  if (text == kActivateMailerPart) {
    result = 1;  // the mail view is the only view this client has
  } else if (text.size() > start + end && text.compare(0, start, kOpenFolderStart) == 0 &&
             text.compare(text.size() - end, end, kOpenFolderEnd) == 0) {
    const int folder = store_.FindByRelPath(WideFrom932(text.substr(start, text.size() - start - end)));
    if (folder > 0) {
      window_.SelectFolder(folder);
      result = currentFolder_ == folder ? 1 : 0;
    }
  }
  journal_.Write({"call", "EDA_RunMacro", JText932(statement), JResult(result)});
  return result;
}

int StandinClient::EdaSelectMessage(const char* messagePath, int show) {
  int result = 0;
  if (messagePath) {
    const std::string path = messagePath;
    const auto colon = path.rfind(':');
    if (colon != std::string::npos && store_.FindByCtxPath(path.substr(0, colon)) == currentFolder_) {
      const std::string name = path.substr(colon + 1);
      for (std::size_t i = 0; i < messages_.size(); ++i) {
        if (messages_[i] != name) continue;
        window_.SelectMessageItem(static_cast<int>(i));
        OnMessageSelected(static_cast<int>(i));  // in case the list already had it selected
        result = 1;
        break;
      }
    }
  }
  journal_.Write({"call", "EDA_SelectMessage", JText932(messagePath), JInt(show), JResult(result)});
  return result;
}

int StandinClient::EdaUnusedCall(const char* name) {
  journal_.Write({"call", name, JResult(0)});
  return 0;
}
