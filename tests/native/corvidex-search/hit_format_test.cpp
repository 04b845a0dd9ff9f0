// The lines printed for hits: the tab-separated line keeps every hit on one line of five fields, and the JSON line
// is valid JSON in UTF-8 whatever bytes the attributes hold.
#include "hit_format.h"
#include "json_string.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using corvidex_search::AppendJsonString;
using corvidex_search::FormatHitJson;
using corvidex_search::FormatHitLine;
using corvidex_search::SearchHit;

const SearchHit kJapaneseHit{42, "cvdx:Z:\\m\\Account\\taro\\受信箱:0001.eml", "Mon, 1 Jan 2024 09:00:00 +0900",
                             "山田 <yamada@example.jp>", "見積の件"};

TEST(HitFormat, LineHoldsRankDateSenderSubjectAndUri) {
  EXPECT_EQ(FormatHitLine(3, kJapaneseHit),
            "3\tMon, 1 Jan 2024 09:00:00 +0900\t山田 <yamada@example.jp>\t見積の件\t"
            "cvdx:Z:\\m\\Account\\taro\\受信箱:0001.eml\r\n");
}

TEST(HitFormat, LineTurnsControlCharactersIntoSpacesAndKeepsEmptyFields) {
  const SearchHit hit{1, "cvdx:u", "", "a\tb", "x\r\ny\x7F"};
  EXPECT_EQ(FormatHitLine(1, hit), "1\t\ta b\tx  y \tcvdx:u\r\n");
}

TEST(HitFormat, JsonHasTheMembersInOrder) {
  EXPECT_EQ(FormatHitJson(1, kJapaneseHit),
            "{\"rank\":1,\"id\":42,\"uri\":\"cvdx:Z:\\\\m\\\\Account\\\\taro\\\\受信箱:0001.eml\","
            "\"date\":\"Mon, 1 Jan 2024 09:00:00 +0900\",\"from\":\"山田 <yamada@example.jp>\","
            "\"subject\":\"見積の件\"}\n");
  EXPECT_EQ(FormatHitJson(2, SearchHit{7, "cvdx:u", "", "", ""}),
            "{\"rank\":2,\"id\":7,\"uri\":\"cvdx:u\",\"date\":\"\",\"from\":\"\",\"subject\":\"\"}\n");
}

struct JsonCase {
  const char* name;
  std::string text;
  std::string literal;
};

const JsonCase kJsonCases[] = {
    {"plain", "abc", "\"abc\""},
    {"quote_and_backslash", "say \"C:\\x\"", "\"say \\\"C:\\\\x\\\"\""},
    {"named_escapes", "\b\f\n\r\t", "\"\\b\\f\\n\\r\\t\""},
    {"other_control_characters", std::string("\x01\x1F\x7F", 3), "\"\\u0001\\u001f\\u007f\""},
    {"nul_byte", std::string("a\0b", 3), "\"a\\u0000b\""},
    {"slash_stays", "a/b", "\"a/b\""},
    {"two_three_and_four_byte_characters", "é見😀", "\"é見😀\""},
    {"code_page_932_bytes_are_no_utf8", "\x8E\xF3\x90\x4D", "\"\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\x4D\""},
    {"lone_continuation_byte", "a\x80z", "\"a\xEF\xBF\xBDz\""},
    {"sequence_cut_at_the_end", "a\xE8\xA6", "\"a\xEF\xBF\xBD\xEF\xBF\xBD\""},
    {"overlong_slash", "\xC0\xAF", "\"\xEF\xBF\xBD\xEF\xBF\xBD\""},
    {"overlong_three_bytes", "\xE0\x80\xAF", "\"\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\""},
    {"surrogate", "\xED\xA0\x80", "\"\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\""},
    {"beyond_unicode", "\xF4\x90\x80\x80", "\"\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\""},
    {"last_code_point", "\xF4\x8F\xBF\xBF", "\"\xF4\x8F\xBF\xBF\""},
};

// Test names show a case by its name, not as a dump of its bytes.
void PrintTo(const JsonCase& c, std::ostream* os) { *os << c.name; }

class JsonString : public ::testing::TestWithParam<JsonCase> {};

TEST_P(JsonString, IsEscapedToValidUtf8) {
  std::string out = "[";
  AppendJsonString(out, GetParam().text);
  EXPECT_EQ(out, "[" + GetParam().literal);
}

INSTANTIATE_TEST_SUITE_P(Table, JsonString, ::testing::ValuesIn(kJsonCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
