// Runs a script's statements one after another from the client's message loop. A statement that has to wait
// (a pause, a menu command, a file) resumes the script when it is done; while a plug-in command runs, and so
// while its modal dialog dispatches messages, no statement starts.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "script.h"

class StandinClient;

class ScriptRunner {
 public:
  static constexpr UINT_PTR kWaitTimer = 0x5E01;
  static constexpr UINT_PTR kFileTimer = 0x5E02;

  ScriptRunner(StandinClient& client, std::vector<Statement> statements);

  void Start();
  // The posted step message has arrived.
  void Step();
  void OnTimer(UINT_PTR id);
  // A plug-in command has returned.
  void OnCommandFinished();

 private:
  enum class Outcome { kNext, kWaitTimer, kWaitCommand, kWaitFile, kFinished };

  Outcome Execute(const Statement& statement);
  Outcome PickMenuCommand(const Statement& statement);
  void Fail(const Statement& statement, const std::string& reason);
  void PostStep();

  StandinClient& client_;
  std::vector<Statement> statements_;
  std::size_t next_ = 0;
  bool stepPosted_ = false;
  bool waitingForCommand_ = false;
  bool finished_ = false;
  std::wstring awaitedFile_;
};
