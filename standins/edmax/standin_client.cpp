#include "standin_client.h"

#include <cstdio>

#include "export_table.h"
#include "journal_text.h"
#include "script_runner.h"
#include "text_codec.h"

StandinClient* StandinClient::current_ = nullptr;

namespace {

constexpr std::size_t kViewTextLimit = 256 * 1024;  // the message view shows the start of very large messages
// The journal is written at least this often, so that a run that hangs (and is killed) leaves what happened so far.
constexpr UINT_PTR kJournalFlushTimer = 0x5E10;
constexpr UINT kJournalFlushMs = 1000;

// The message view wants CR-LF line ends.
std::wstring ForEditControl(const std::wstring& text) {
  std::wstring out;
  out.reserve(text.size() + text.size() / 16);
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'\n' && (i == 0 || text[i - 1] != L'\r')) out += L'\r';
    out += text[i];
  }
  return out;
}

}  // namespace

StandinClient::StandinClient(Journal& journal, StandinOptions options)
    : journal_(journal), options_(std::move(options)), hooks_(journal), plugins_(journal) {}

StandinClient::~StandinClient() {
  if (current_ == this) current_ = nullptr;
}

int StandinClient::Run(HINSTANCE instance) {
  current_ = this;
  if (!Start(instance)) {
    journal_.Flush();
    return 2;
  }
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  journal_.Flush();
  current_ = nullptr;
  return 0;
}

bool StandinClient::Start(HINSTANCE instance) {
  SetUnhandledExceptionFilter(OnUnhandledException);
  journal_.Write({"start", JWide(options_.store)});
  std::wstring error;
  if (!store_.Load(options_.store, error)) {
    journal_.Write({"error", "store", JWide(error)});
    return false;
  }
  std::vector<Statement> statements;
  if (!options_.script.empty()) {
    std::vector<std::string> errors;
    statements = LoadScript(options_.script, errors);
    for (const std::string& scriptError : errors) journal_.Write({"script-error", JText(scriptError)});
    if (!errors.empty()) return false;
  }
  if (!window_.Create(instance, *this)) {
    journal_.Write({"error", "window", JInt(GetLastError())});
    return false;
  }
  window_.FillTree(store_);
  window_.SelectFolder(0);
  hooks_.SetClientWindows(window_.main(), window_.tree());
  if (!hooks_.Install(!options_.script.empty())) journal_.Write({"error", "hooks", JInt(GetLastError())});
  const std::size_t exported = ExportedNames(GetModuleHandleW(nullptr)).size();
  if (exported != kEdmaxApiFunctionCount) journal_.Write({"warning", "exports", JInt(static_cast<long long>(exported))});
  if (!options_.withhold.empty()) {
    const bool withheld = WithholdExport(GetModuleHandleW(nullptr), options_.withhold.c_str());
    journal_.Write({"withhold", JText(options_.withhold), withheld ? "ok" : "failed"});
  }
  window_.Show();
  SetTimer(window_.main(), kJournalFlushTimer, kJournalFlushMs, nullptr);
  LoadPlugins();
  if (!options_.script.empty()) {
    script_ = std::make_unique<ScriptRunner>(*this, std::move(statements));
    script_->Start();
  }
  return true;
}

void StandinClient::LoadPlugins() {
  for (const std::wstring& path : options_.plugins) plugins_.Load(path);
  for (LoadedPlugin& plugin : plugins_.plugins()) plugins_.SendInfoEvent(plugin);
  for (LoadedPlugin& plugin : plugins_.plugins()) {
    plugins_.SendMenuEvent(plugin, kMenuKindPlugins, window_.toolsMenu());
  }
  DrawMenuBar(window_.main());
}

void StandinClient::Quit() {
  if (quitting_) return;
  if (plugins_.commandRunning()) {
    quitPending_ = true;  // unloading a plug-in whose command is on the stack would pull the code from under it
    return;
  }
  quitting_ = true;
  plugins_.UnloadAll();
  journal_.Write({"final-folder", JText932(CurrentCtxPath())});
  journal_.Write({"final-message", JText932(currentMessage_ >= 0 ? MessagePathAt(currentMessage_) : std::string())});
  journal_.Flush();
  window_.Destroy();
}

std::string StandinClient::CurrentCtxPath() const { return store_.folder(currentFolder_).ctxPath; }

std::string StandinClient::MessagePathAt(int index) const {
  return MailStore::MessagePath(store_.folder(currentFolder_), messages_[static_cast<std::size_t>(index)]);
}

void StandinClient::OnFolderSelected(int folder) {
  if (folder < 0 || folder >= static_cast<int>(store_.folders().size())) return;
  currentFolder_ = folder;
  if (currentMessage_ >= 0) journal_.Write({"selected-message", ""});
  currentMessage_ = -1;
  RefreshMessages();
  journal_.Write({"selected-folder", JText932(CurrentCtxPath())});
  window_.SetStatusText(store_.folder(folder).relPath + L"  (" + std::to_wstring(messages_.size()) + L")");
}

void StandinClient::RefreshMessages() {
  messages_ = store_.ListMessages(currentFolder_);
  summaries_.assign(messages_.size(), std::nullopt);
  window_.ShowMessageList(static_cast<int>(messages_.size()));
}

void StandinClient::OnMessageSelected(int index) {
  if (index < 0 || index >= static_cast<int>(messages_.size()) || index == currentMessage_) return;
  currentMessage_ = index;
  const std::string path = MessagePathAt(index);
  journal_.Write({"selected-message", JText932(path)});
  const auto text = ReadWholeFile(store_.MessageFile(path), kViewTextLimit);
  window_.ShowMessageText(text ? ForEditControl(WideFrom932(*text)) : L"");
}

std::wstring StandinClient::MessageColumnText(int index, int column) {
  if (index < 0 || index >= static_cast<int>(messages_.size())) return {};
  const std::string& name = messages_[static_cast<std::size_t>(index)];
  if (column == 0) return WideFrom932(name);
  auto& summary = summaries_[static_cast<std::size_t>(index)];
  if (!summary) summary = SummarizeMessage(store_.MessageFile(currentFolder_, name));
  switch (column) {
    case 1: return summary->subject;
    case 2: return summary->from;
    case 3: return summary->date;
    default: return {};
  }
}

void StandinClient::OnMenuCommand(int id) {
  const auto command = plugins_.CommandOfMenuId(id);
  LoadedPlugin* plugin = command ? plugins_.FindModule(command->first) : nullptr;
  if (plugin) {
    plugins_.RunCommand(*plugin, command->second);
  } else {
    journal_.Write({"warning", "menu command of no plug-in", JInt(id)});
  }
  if (script_) script_->OnCommandFinished();
  if (quitPending_ && !plugins_.commandRunning()) Quit();
}

void StandinClient::OnScriptStep() {
  if (script_) script_->Step();
}

void StandinClient::OnTimer(UINT_PTR id) {
  if (id == kJournalFlushTimer) {
    journal_.Flush();
  } else if (script_) {
    script_->OnTimer(id);
  }
}

void StandinClient::OnCloseRequested() { Quit(); }

bool StandinClient::DeleteMessage(int folder, const std::string& fileName932) {
  const std::wstring file = store_.MessageFile(folder, fileName932);
  if (file.empty() || !DeleteFileW(file.c_str())) return false;
  journal_.Write({"deleted", JText932(MailStore::MessagePath(store_.folder(folder), fileName932))});
  if (folder == currentFolder_) {
    const std::string selected = currentMessage_ >= 0 ? messages_[static_cast<std::size_t>(currentMessage_)] : "";
    RefreshMessages();
    currentMessage_ = -1;
    for (std::size_t i = 0; i < messages_.size(); ++i) {
      if (messages_[i] == selected) currentMessage_ = static_cast<int>(i);
    }
    if (!selected.empty() && currentMessage_ < 0) journal_.Write({"selected-message", ""});
  }
  return true;
}

LONG WINAPI StandinClient::OnUnhandledException(EXCEPTION_POINTERS* exception) {
  if (current_) {
    char code[16];
    std::snprintf(code, sizeof code, "0x%08lx", static_cast<unsigned long>(exception->ExceptionRecord->ExceptionCode));
    const void* address = exception->ExceptionRecord->ExceptionAddress;
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       static_cast<LPCWSTR>(address), &module);
    wchar_t name[MAX_PATH] = L"?";
    if (module) GetModuleFileNameW(module, name, MAX_PATH);
    char offset[32];
    std::snprintf(offset, sizeof offset, "+0x%llx",
                  static_cast<unsigned long long>(reinterpret_cast<const char*>(address) -
                                                  reinterpret_cast<const char*>(module)));
    current_->journal_.Write({"crash", code, JWide(name) + offset});
    current_->journal_.Flush();
  }
  return EXCEPTION_EXECUTE_HANDLER;
}
