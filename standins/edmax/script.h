// Scripts: statements that drive the client one after another from its message loop.
#pragma once

#include <string>
#include <vector>

struct Statement {
  int line = 0;
  std::string text;               // the whole line (UTF-8), for the journal
  std::string verb;               // select, command, invoke, event, wait, snap, snap-dialog, delete, ...
  std::vector<std::string> args;  // the verb's arguments (UTF-8)
};

// Reads a script file (UTF-8). Lines that cannot be understood are returned in errors as "line: reason".
std::vector<Statement> LoadScript(const std::wstring& path, std::vector<std::string>& errors);
// One line; false with a reason when it is no valid statement.
bool ParseStatement(const std::string& line, int number, Statement& statement, std::string& error);
