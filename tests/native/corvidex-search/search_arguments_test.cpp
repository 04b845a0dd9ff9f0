// The command line of corvidex-search: what each accepted form asks for, and the forms it refuses with a reason.
#include "search_arguments.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

using corvidex_search::kDefaultMaxHits;
using corvidex_search::ParseSearchArguments;

struct Accepted {
  const char* name;
  std::vector<std::string> args;
  std::string phrase;
  std::vector<std::string> attrs = {};
  int maxHits = kDefaultMaxHits;
  std::optional<int> openHit = std::nullopt;
  bool json = false;
  std::optional<std::string> indexDir = std::nullopt;
};

const Accepted kAccepted[] = {
    {"one_word", {"invoice"}, "invoice"},
    {"japanese_words_joined_by_spaces", {"見積", "会議"}, "見積 会議"},
    {"options_between_words", {"a", "--json", "b", "--max", "5", "c"}, "a b c", {}, 5, std::nullopt, true},
    {"every_option",
     {"--index", "C:\\idx\\主", "--max", "20", "--json", "--attr", "@author ISTRINC tanaka", "--attr",
      "@title STRINC x", "--open", "3", "w"},
     "w", {"@author ISTRINC tanaka", "@title STRINC x"}, 20, 3, true, "C:\\idx\\主"},
    {"attributes_alone", {"--attr", "@uri ISTRBW cvdx:"}, "", {"@uri ISTRBW cvdx:"}},
    {"double_dash_lets_words_begin_with_dash", {"--", "-x", "--json"}, "-x --json"},
    {"single_dash_is_a_word", {"-"}, "-"},
    {"open_beyond_the_default_raises_the_count", {"--open", "250", "w"}, "w", {}, 250, 250},
    {"open_within_max", {"--max", "3", "--open", "3", "w"}, "w", {}, 3, 3},
    {"largest_count", {"--max", "1000000", "w"}, "w", {}, 1000000},
    {"later_max_wins", {"--max", "4", "--max", "6", "w"}, "w", {}, 6},
};

// Test names show a case by its name, not as a dump of its bytes.
void PrintTo(const Accepted& c, std::ostream* os) { *os << c.name; }

class AcceptedArguments : public ::testing::TestWithParam<Accepted> {};

TEST_P(AcceptedArguments, GiveTheirSettings) {
  const Accepted& c = GetParam();
  const auto parse = ParseSearchArguments(c.args);
  ASSERT_TRUE(parse.Ok()) << parse.error;
  const auto& a = parse.arguments;
  EXPECT_FALSE(a.help);
  EXPECT_EQ(a.Phrase(), c.phrase);
  EXPECT_EQ(a.attributeExpressions, c.attrs);
  EXPECT_EQ(a.maxHits, c.maxHits);
  EXPECT_EQ(a.openHit, c.openHit);
  EXPECT_EQ(a.json, c.json);
  EXPECT_EQ(a.indexDir, c.indexDir);
}

INSTANTIATE_TEST_SUITE_P(Table, AcceptedArguments, ::testing::ValuesIn(kAccepted),
                         [](const auto& info) { return std::string(info.param.name); });

struct Refused {
  const char* name;
  std::vector<std::string> args;
  std::string reason;  // a part of the message
};

const Refused kRefused[] = {
    {"nothing", {}, "no words"},
    {"options_without_words", {"--json", "--max", "3"}, "no words"},
    {"unknown_option", {"--jsn", "w"}, "unknown option --jsn"},
    {"word_that_looks_like_an_option", {"-x"}, "unknown option -x"},
    {"max_without_value", {"w", "--max"}, "--max needs a value"},
    {"attr_without_value", {"w", "--attr"}, "--attr needs a value"},
    {"empty_attr", {"w", "--attr", " "}, "--attr needs an expression"},
    {"empty_index", {"w", "--index", ""}, "--index needs a folder"},
    {"max_zero", {"--max", "0", "w"}, "--max needs a whole number"},
    {"max_negative", {"--max", "-1", "w"}, "--max needs a whole number"},
    {"max_with_letters", {"--max", "5x", "w"}, "not \"5x\""},
    {"max_too_large", {"--max", "1000001", "w"}, "--max needs a whole number"},
    {"max_with_many_digits", {"--max", "99999999999", "w"}, "--max needs a whole number"},
    {"open_zero", {"--open", "0", "w"}, "--open needs a whole number"},
    {"open_beyond_max", {"--max", "2", "--open", "3", "w"}, "--open 3 lies beyond --max 2"},
    {"empty_word", {"w", ""}, "empty word"},
    {"blank_word", {" \t"}, "empty word"},
};

void PrintTo(const Refused& c, std::ostream* os) { *os << c.name; }

class RefusedArguments : public ::testing::TestWithParam<Refused> {};

TEST_P(RefusedArguments, SayWhy) {
  const Refused& c = GetParam();
  const auto parse = ParseSearchArguments(c.args);
  ASSERT_FALSE(parse.Ok());
  EXPECT_NE(parse.error.find(c.reason), std::string::npos) << parse.error;
}

INSTANTIATE_TEST_SUITE_P(Table, RefusedArguments, ::testing::ValuesIn(kRefused),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SearchArguments, HelpStopsTheReadingOfLaterArguments) {
  for (const char* help : {"--help", "-h", "-?"}) {
    const auto parse = ParseSearchArguments({"--max", "3", help, "--bogus"});
    EXPECT_TRUE(parse.Ok()) << help;
    EXPECT_TRUE(parse.arguments.help) << help;
  }
}

}  // namespace
