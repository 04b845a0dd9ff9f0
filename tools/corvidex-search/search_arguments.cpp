#include "search_arguments.h"

#include <string_view>

namespace corvidex_search {

namespace {

// A count option's value: decimal digits only, from 1 to kLargestCount.
std::optional<int> ParseCount(std::string_view text) {
  if (text.empty() || text.size() > 7) return std::nullopt;
  int value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  if (value < 1 || value > kLargestCount) return std::nullopt;
  return value;
}

ArgumentParse Refuse(std::string error) {
  ArgumentParse parse;
  parse.error = std::move(error);
  return parse;
}

}  // namespace

std::string SearchArguments::Phrase() const {
  std::string phrase;
  for (const std::string& word : words) {
    if (!phrase.empty()) phrase += ' ';
    phrase += word;
  }
  return phrase;
}

ArgumentParse ParseSearchArguments(const std::vector<std::string>& args) {
  ArgumentParse parse;
  SearchArguments& out = parse.arguments;
  bool maxGiven = false;
  bool optionsEnded = false;

  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (optionsEnded || arg.empty() || arg[0] != '-' || arg == "-") {
      if (arg.find_first_not_of(" \t") == std::string::npos) return Refuse("an empty word cannot be searched for");
      out.words.push_back(arg);
      continue;
    }
    if (arg == "--") {
      optionsEnded = true;
      continue;
    }
    if (arg == "--help" || arg == "-h" || arg == "-?") {
      out.help = true;
      return parse;
    }
    if (arg == "--json") {
      out.json = true;
      continue;
    }
    if (arg != "--index" && arg != "--max" && arg != "--attr" && arg != "--open") {
      return Refuse("unknown option " + arg + " (words that begin with '-' go after \"--\")");
    }
    if (i + 1 == args.size()) return Refuse(arg + " needs a value");
    const std::string& value = args[++i];
    if (arg == "--index") {
      if (value.empty()) return Refuse("--index needs a folder");
      out.indexDir = value;
    } else if (arg == "--attr") {
      if (value.find_first_not_of(" \t") == std::string::npos) return Refuse("--attr needs an expression");
      out.attributeExpressions.push_back(value);
    } else {
      const std::optional<int> count = ParseCount(value);
      if (!count) {
        return Refuse(arg + " needs a whole number from 1 to " + std::to_string(kLargestCount) + ", not \"" +
                      value + "\"");
      }
      if (arg == "--max") {
        out.maxHits = *count;
        maxGiven = true;
      } else {
        out.openHit = *count;
      }
    }
  }

  if (out.words.empty() && out.attributeExpressions.empty()) return Refuse("no words to search for");
  if (out.openHit && *out.openHit > out.maxHits) {
    if (maxGiven) {
      return Refuse("--open " + std::to_string(*out.openHit) + " lies beyond --max " +
                    std::to_string(out.maxHits));
    }
    out.maxHits = *out.openHit;
  }
  return parse;
}

const char* UsageText() {
  return "usage: corvidex-search [--index DIR] [--max N] [--json] [--attr EXPR]... [--open N] WORDS...\n"
         "\n"
         "Lists the mail messages in Corvidex's index whose text or subject holds all the WORDS, one hit a line:\n"
         "rank, date, sender, subject and URI, separated by tabs.\n"
         "\n"
         "  --index DIR  the index to search; without it, the one that Corvidex.conf beside Corvidex.dll names\n"
         "               (Corvidex.dll is expected in the folder of corvidex-search.exe)\n"
         "  --max N      list at most N hits (default 100)\n"
         "  --json       one JSON object a hit, in UTF-8: {\"rank\",\"id\",\"uri\",\"date\",\"from\",\"subject\"}\n"
         "  --attr EXPR  only documents whose attributes match EXPR, e.g. \"@author ISTRINC tanaka\"\n"
         "               (attribute, operator, value; may be given more than once)\n"
         "  --open N     show hit N in the mail client through Pickwire, and list only that hit\n"
         "  --           every later argument is a word, also one that begins with '-'\n"
         "\n"
         "The words form the full-text library's search phrase: AND, OR and ANDNOT written in capitals between\n"
         "words work as operators. With --attr alone, every document that matches the expressions is listed.\n"
         "\n"
         "Exit status:\n"
         "  0  hits were listed (with --open: the hit was sent to Pickwire)\n"
         "  1  no hits\n"
         "  2  bad arguments\n"
         "  3  no index there (or Corvidex.conf missing beside Corvidex.dll)\n"
         "  4  estraier.dll missing or incomplete\n"
         "  5  the hit number of --open is out of range\n"
         "  6  Pickwire is not running (the request could not be delivered)\n"
         "  7  the hit cannot be sent to Pickwire (its URI makes no request that Pickwire accepts)\n";
}

}  // namespace corvidex_search
