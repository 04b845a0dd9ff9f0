#include "script_runner.h"

#include <cstdlib>

#include "journal_text.h"
#include "screenshot.h"
#include "standin_client.h"
#include "text_codec.h"
#include "unique_handle.h"

namespace {

constexpr UINT kFilePollMs = 50;

bool FileExists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

int Number(const std::string& text) { return std::atoi(text.c_str()); }

}  // namespace

ScriptRunner::ScriptRunner(StandinClient& client, std::vector<Statement> statements)
    : client_(client), statements_(std::move(statements)) {}

void ScriptRunner::Start() { PostStep(); }

void ScriptRunner::PostStep() {
  if (stepPosted_ || finished_) return;
  stepPosted_ = true;
  client_.window().PostScriptStep();
}

void ScriptRunner::Step() {
  stepPosted_ = false;
  if (finished_ || waitingForCommand_) return;
  // A modal loop of a running plug-in command dispatched this step: the statement waits for the command's end.
  if (client_.plugins().commandRunning()) {
    waitingForCommand_ = true;
    return;
  }
  if (next_ >= statements_.size()) {
    finished_ = true;
    client_.Quit();
    return;
  }
  const Statement& statement = statements_[next_++];
  client_.journal().Write({"script", JInt(statement.line), JText(statement.text)});
  switch (Execute(statement)) {
    case Outcome::kNext: PostStep(); break;
    case Outcome::kWaitCommand: waitingForCommand_ = true; break;
    case Outcome::kWaitTimer:
    case Outcome::kWaitFile: break;
    case Outcome::kFinished: finished_ = true; break;
  }
}

void ScriptRunner::OnTimer(UINT_PTR id) {
  if (id == kWaitTimer) {
    KillTimer(client_.window().main(), kWaitTimer);
    PostStep();
  } else if (id == kFileTimer && FileExists(awaitedFile_)) {
    KillTimer(client_.window().main(), kFileTimer);
    PostStep();
  }
}

void ScriptRunner::OnCommandFinished() {
  if (!waitingForCommand_ || client_.plugins().commandRunning()) return;
  waitingForCommand_ = false;
  PostStep();
}

void ScriptRunner::Fail(const Statement& statement, const std::string& reason) {
  client_.journal().Write({"script-error", JInt(statement.line), JText(statement.text), JText(reason)});
}

ScriptRunner::Outcome ScriptRunner::Execute(const Statement& statement) {
  const std::string& verb = statement.verb;
  const auto& args = statement.args;
  if (verb == "select") {
    const int folder = client_.store().FindByRelPath(WideFromUtf8(args[0]));
    if (folder < 0) {
      Fail(statement, "no such folder");
    } else {
      client_.SelectFolder(folder);
    }
    return Outcome::kNext;
  }
  if (verb == "command") return PickMenuCommand(statement);
  if (verb == "invoke" || verb == "event") {
    LoadedPlugin* plugin = client_.plugins().Find(args[0]);
    if (!plugin) {
      Fail(statement, "no such plug-in");
      return Outcome::kNext;
    }
    if (verb == "invoke") {
      client_.plugins().RunCommand(*plugin, Number(args[1]));
      return Outcome::kNext;
    }
    const int hID = Number(args[1]);
    const int kind = Number(args[2]);
    if (hID == 1000) {
      client_.plugins().SendInfoEvent(*plugin);
    } else if (hID == 1001) {
      HMENU menu = CreatePopupMenu();
      client_.plugins().SendMenuEvent(*plugin, kind, menu);
      DestroyMenu(menu);
    } else {
      client_.plugins().SendOtherEvent(*plugin, hID, kind);
    }
    return Outcome::kNext;
  }
  if (verb == "wait") {
    const int ms = Number(args[0]);
    if (ms <= 0) return Outcome::kNext;
    SetTimer(client_.window().main(), kWaitTimer, static_cast<UINT>(ms), nullptr);
    return Outcome::kWaitTimer;
  }
  if (verb == "snap") {
    const std::wstring path = WideFromUtf8(args[0]);
    const bool saved = SaveScreenshot(path);
    client_.journal().Write({"snap", JWide(path), saved ? "ok" : "failed"});
    return Outcome::kNext;
  }
  if (verb == "snap-dialog") {
    client_.hooks().ArmDialogSnapshot(WideFromUtf8(args[0]), Number(args[1]));
    return Outcome::kNext;
  }
  if (verb == "delete") {
    const int folder = client_.store().FindByRelPath(WideFromUtf8(args[0]));
    if (folder <= 0) {
      Fail(statement, "no such folder");
    } else if (!client_.DeleteMessage(folder, To932(WideFromUtf8(args[1])))) {
      Fail(statement, "cannot delete the message");
    }
    return Outcome::kNext;
  }
  if (verb == "touch") {
    client_.journal().Flush();
    UniqueFile file(CreateFileW(WideFromUtf8(args[0]).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) Fail(statement, "cannot create the file");
    return Outcome::kNext;
  }
  if (verb == "wait-file") {
    awaitedFile_ = WideFromUtf8(args[0]);
    if (FileExists(awaitedFile_)) return Outcome::kNext;
    client_.journal().Flush();
    SetTimer(client_.window().main(), kFileTimer, kFilePollMs, nullptr);
    return Outcome::kWaitFile;
  }
  if (verb == "quit") {
    client_.Quit();
    return Outcome::kFinished;
  }
  Fail(statement, "unknown statement");
  return Outcome::kNext;
}

ScriptRunner::Outcome ScriptRunner::PickMenuCommand(const Statement& statement) {
  LoadedPlugin* plugin = client_.plugins().Find(statement.args[0]);
  const int nID = Number(statement.args[1]);
  const auto menuId = plugin ? client_.plugins().MenuIdOf(*plugin, nID) : std::nullopt;
  // The item must be in the menu bar now, as a user would find it (GetMenuState searches the submenus).
  const UINT state = menuId ? GetMenuState(GetMenu(client_.window().main()), static_cast<UINT>(*menuId), MF_BYCOMMAND)
                            : static_cast<UINT>(-1);
  if (state == static_cast<UINT>(-1)) {
    client_.journal().Write({"command-missing", JText(statement.args[0]), JInt(nID)});
    return Outcome::kNext;
  }
  if (state & (MF_GRAYED | MF_DISABLED)) {
    client_.journal().Write({"command-disabled", JText(statement.args[0]), JInt(nID)});
    return Outcome::kNext;
  }
  PostMessageW(client_.window().main(), WM_COMMAND, MAKEWPARAM(*menuId, 0), 0);
  return Outcome::kWaitCommand;
}
