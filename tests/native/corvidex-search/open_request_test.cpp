// The Pickwire request of a hit: the message path goes back to code page 932 behind "cvdx:", and a hit that would
// make no request that Pickwire accepts is refused here with the reason.
#include "open_request.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace {

using corvidex_search::MakeOpenRequest;

// A stand-in for the system's conversion: ASCII stays, the few Japanese words of the tests become their code page
// 932 bytes, and anything else has no form.
std::optional<std::string> FakeToCp932(std::string_view utf8) {
  static const std::map<std::string, std::string> kWords = {{"受信箱", "\x8E\xF3\x90\x4D\x94\xA0"},
                                                            {"表", "\x95\x5C"}};
  std::string out;
  while (!utf8.empty()) {
    if (static_cast<unsigned char>(utf8[0]) < 0x80) {
      out += utf8[0];
      utf8.remove_prefix(1);
      continue;
    }
    bool matched = false;
    for (const auto& [word, bytes] : kWords) {
      if (utf8.starts_with(word)) {
        out += bytes;
        utf8.remove_prefix(word.size());
        matched = true;
        break;
      }
    }
    if (!matched) return std::nullopt;
  }
  return out;
}

struct Case {
  const char* name;
  std::string uri;
  std::string request;  // expected when sound
  std::string refusal;  // a part of the reason when refused
};

const Case kCases[] = {
    {"ascii_path", "cvdx:Z:\\m\\Account\\taro\\inbox:0001.eml", "cvdx:Z:\\m\\Account\\taro\\inbox:0001.eml", ""},
    {"japanese_folders_back_in_code_page_932", "cvdx:Z:\\m\\Account\\taro\\受信箱\\表:1.eml",
     "cvdx:Z:\\m\\Account\\taro\\\x8E\xF3\x90\x4D\x94\xA0\\\x95\x5C:1.eml", ""},
    {"other_scheme", "file:Z:\\m\\Account\\taro\\inbox:1", "", "does not begin with \"cvdx:\""},
    {"scheme_in_capitals", "CVDX:Z:\\m\\Account\\taro\\inbox:1", "", "does not begin with \"cvdx:\""},
    {"character_without_code_page_932_form", "cvdx:Z:\\m\\Account\\taro\\☃:1", "", "code page 932"},
    {"path_without_account", "cvdx:Z:\\files\\a.txt:1", "", "Pickwire would refuse it"},
    {"folder_that_would_end_the_macro", "cvdx:Z:\\m\\Account\\taro;x:1", "", "Pickwire would refuse it"},
};

// Test names show a case by its name, not as a dump of its bytes.
void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

class OpenRequest : public ::testing::TestWithParam<Case> {};

TEST_P(OpenRequest, IsMadeOrRefused) {
  const Case& c = GetParam();
  const auto open = MakeOpenRequest(c.uri, FakeToCp932);
  if (c.refusal.empty()) {
    ASSERT_TRUE(open.Ok()) << open.refusal;
    EXPECT_EQ(open.request, c.request);
  } else {
    ASSERT_FALSE(open.Ok());
    EXPECT_NE(open.refusal.find(c.refusal), std::string::npos) << open.refusal;
    EXPECT_TRUE(open.request.empty());
  }
}

INSTANTIATE_TEST_SUITE_P(Table, OpenRequest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
