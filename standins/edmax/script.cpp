#include "script.h"

#include <cstdlib>

#include "mail_store.h"

namespace {

std::string TrimBlanks(const std::string& text) {
  const auto first = text.find_first_not_of(" \t\r");
  if (first == std::string::npos) return {};
  const auto last = text.find_last_not_of(" \t\r");
  return text.substr(first, last - first + 1);
}

bool IsNumber(const std::string& text) {
  if (text.empty()) return false;
  char* end = nullptr;
  std::strtol(text.c_str(), &end, 10);
  return *end == '\0';
}

// Splits off the last blank-separated word: "Archive (2009) 0001.eml" gives "Archive (2009)" and "0001.eml".
bool SplitLastWord(const std::string& rest, std::string& head, std::string& last) {
  const auto blank = rest.find_last_of(" \t");
  if (blank == std::string::npos) return false;
  head = TrimBlanks(rest.substr(0, blank));
  last = rest.substr(blank + 1);
  return !last.empty();
}

std::vector<std::string> Words(const std::string& rest) {
  std::vector<std::string> words;
  std::size_t i = 0;
  while (i < rest.size()) {
    const auto start = rest.find_first_not_of(" \t", i);
    if (start == std::string::npos) break;
    const auto end = rest.find_first_of(" \t", start);
    words.push_back(rest.substr(start, end == std::string::npos ? std::string::npos : end - start));
    i = end == std::string::npos ? rest.size() : end;
  }
  return words;
}

}  // namespace

bool ParseStatement(const std::string& rawLine, int number, Statement& statement, std::string& error) {
  const std::string line = TrimBlanks(rawLine);
  statement = Statement{};
  statement.line = number;
  statement.text = line;
  const auto blank = line.find_first_of(" \t");
  statement.verb = line.substr(0, blank);
  const std::string rest = blank == std::string::npos ? std::string() : TrimBlanks(line.substr(blank + 1));
  const std::string& verb = statement.verb;
  auto& args = statement.args;

  if (verb == "select" || verb == "snap" || verb == "wait-file" || verb == "touch") {
    if (rest.empty() && verb != "select") {
      error = verb + " needs a path";
      return false;
    }
    args.push_back(rest);  // paths may hold blanks
    return true;
  }
  if (verb == "delete" || verb == "snap-dialog") {
    std::string head, last;
    if (!SplitLastWord(rest, head, last) || head.empty()) {
      error = verb + " needs two arguments";
      return false;
    }
    if (verb == "snap-dialog" && !IsNumber(last)) {
      error = "snap-dialog needs a count";
      return false;
    }
    args = {head, last};
    return true;
  }
  if (verb == "command" || verb == "invoke" || verb == "event" || verb == "wait") {
    args = Words(rest);
    const std::size_t wanted = verb == "wait" ? 1 : verb == "event" ? 3 : 2;
    if (args.size() != wanted) {
      error = verb + " needs " + std::to_string(wanted) + " arguments";
      return false;
    }
    for (std::size_t i = verb == "wait" ? 0 : 1; i < args.size(); ++i) {
      if (!IsNumber(args[i])) {
        error = verb + ": not a number: " + args[i];
        return false;
      }
    }
    return true;
  }
  if (verb == "quit") {
    if (!rest.empty()) {
      error = "quit takes no arguments";
      return false;
    }
    return true;
  }
  error = "unknown statement";
  return false;
}

std::vector<Statement> LoadScript(const std::wstring& path, std::vector<std::string>& errors) {
  std::vector<Statement> statements;
  const auto content = ReadWholeFile(path);
  if (!content) {
    errors.push_back("0: cannot read the script");
    return statements;
  }
  std::size_t start = 0;
  int number = 0;
  while (start < content->size()) {
    auto end = content->find('\n', start);
    if (end == std::string::npos) end = content->size();
    std::string line = content->substr(start, end - start);
    start = end + 1;
    ++number;
    if (number == 1 && line.rfind("\xEF\xBB\xBF", 0) == 0) line.erase(0, 3);  // a UTF-8 byte-order mark
    const std::string trimmed = TrimBlanks(line);
    if (trimmed.empty() || trimmed.front() == '#') continue;
    Statement statement;
    std::string error;
    if (ParseStatement(trimmed, number, statement, error)) {
      statements.push_back(std::move(statement));
    } else {
      errors.push_back(std::to_string(number) + ": " + error + ": " + trimmed);
    }
  }
  return statements;
}
