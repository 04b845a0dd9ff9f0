// The command line of corvidex-search, read from its arguments in UTF-8.
//
//   corvidex-search [--index DIR] [--max N] [--json] [--attr EXPR]... [--open N] WORDS...
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace corvidex_search {

// How many hits are listed when --max is not given.
constexpr int kDefaultMaxHits = 100;
// The largest number --max and --open take.
constexpr int kLargestCount = 1000000;

struct SearchArguments {
  bool help = false;
  std::optional<std::string> indexDir;  // --index, UTF-8; without it the configuration beside the plug-in says
  int maxHits = kDefaultMaxHits;        // at least 1; never below openHit
  bool json = false;
  std::vector<std::string> attributeExpressions;  // --attr, in the order given
  std::optional<int> openHit;                     // --open: rank of the hit to show, from 1
  std::vector<std::string> words;

  // The words joined by single spaces, as the full-text library reads a search phrase.
  std::string Phrase() const;
};

struct ArgumentParse {
  SearchArguments arguments;
  std::string error;  // empty when the command line is sound

  bool Ok() const { return error.empty(); }
};

// Reads the arguments that follow the program name. "--" ends the options; every later argument is a word.
// An argument that begins with '-' and is no option is refused, so that a mistyped option never becomes a word.
// There must be at least one word or one --attr. Without --max, a --open beyond the default count raises the count
// to it; with --max, a --open beyond it is refused.
ArgumentParse ParseSearchArguments(const std::vector<std::string>& args);

// The text that --help prints, exit codes included.
const char* UsageText();

}  // namespace corvidex_search
