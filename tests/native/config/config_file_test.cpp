// Reading the key=value configuration file that lies beside each plug-in.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include "config_file.h"
#include "trim.h"

namespace {

std::string WriteFile(const std::string& content) {
  static int counter = 0;
  const auto path = std::filesystem::temp_directory_path() /
                    ("config_file_test_" + std::to_string(::getpid()) + "_" + std::to_string(counter++) + ".conf");
  std::ofstream(path, std::ios::binary) << content;
  return path.string();
}

struct ReadCase {
  const char* what;
  std::string content;
  std::map<std::string, std::string> expected;  // key as asked -> value (empty: absent or empty)
};

// Test names and failure messages show the case by its description, not as a dump of its bytes.
void PrintTo(const ReadCase& c, std::ostream* os) { *os << c.what; }

class ConfigFileRead : public testing::TestWithParam<ReadCase> {};

TEST_P(ConfigFileRead, GivesTheSettingsOfTheFile) {
  const ReadCase& c = GetParam();
  const std::string path = WriteFile(c.content);
  CConfigFile config;
  ASSERT_TRUE(config.Load(path));
  for (const auto& [key, value] : c.expected) EXPECT_EQ(config.Get(key), value) << "key " << key;
  std::remove(path.c_str());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ConfigFileRead,
    testing::Values(
        ReadCase{"crlf", "PollingTime=100\r\nindex=D:\\idx\r\n", {{"PollingTime", "100"}, {"index", "D:\\idx"}}},
        ReadCase{"comments", "# PollingTime=1\n  \t# index=x\nPollingTime=7 # not a comment\n",
                 {{"PollingTime", "7 # not a comment"}, {"index", ""}}},
        ReadCase{"blanks around key, equals and value", " \tPollingTime \t=\t 250 \t\n", {{"PollingTime", "250"}}},
        ReadCase{"equals inside the value", "index=a=b==c\n", {{"index", "a=b==c"}}},
        ReadCase{"line starting with equals", "=500\nPollingTime=9\n", {{"PollingTime", "9"}, {"", ""}}},
        ReadCase{"empty value", "PollingTime=\n", {{"PollingTime", ""}}},
        ReadCase{"case-insensitive key, first occurrence wins", "pollingtime=100\nPOLLINGTIME=200\nPollingTime=300\n",
                 {{"PollingTime", "100"}, {"pollingTIME", "100"}}},
        ReadCase{"line without equals is skipped", "PollingTime\nPollingTime=42\n", {{"PollingTime", "42"}}},
        ReadCase{"byte-order mark stays in the first key", "\xEF\xBB\xBFPollingTime=1\nindex=i\n",
                 {{"PollingTime", ""}, {"\xEF\xBB\xBFPollingTime", "1"}, {"index", "i"}}},
        ReadCase{"empty file", "", {{"PollingTime", ""}, {"index", ""}}},
        ReadCase{"last line without a line feed", "index=x\nPollingTime=33", {{"index", "x"}, {"PollingTime", "33"}}},
        ReadCase{"carriage return not before a line feed is kept", "index=a\rb\n", {{"index", "a\rb"}}},
        ReadCase{"very long line", "index=" + std::string(100000, 'v') + "\n", {{"index", std::string(100000, 'v')}}}),
    [](const testing::TestParamInfo<ReadCase>& info) {
      std::string name = info.param.what;
      for (char& ch : name) if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
      return name;
    });

TEST(ConfigFile, MissingFileFailsAndKeepsTheSettings) {
  const std::string path = WriteFile("index=kept\n");
  CConfigFile config;
  ASSERT_TRUE(config.Load(path));
  std::remove(path.c_str());
  EXPECT_FALSE(config.Load(path));
  EXPECT_EQ(config.Get("index"), "kept");
  EXPECT_EQ(config.Path(), path);
}

TEST(ConfigPath, ReplacesTheExtensionOfTheLibrary) {
  EXPECT_EQ(ConfigPathForModule("C:\\Tools\\Pickwire.dll"), "C:\\Tools\\Pickwire.conf");
  EXPECT_EQ(ConfigPathForModule("C:\\my.tools\\Corvidex.dll"), "C:\\my.tools\\Corvidex.conf");
  EXPECT_EQ(ConfigPathForModule("C:\\my.tools\\Corvidex"), "C:\\my.conf");  // the last '.' of the whole path
  EXPECT_EQ(ConfigPathForModule("C:\\Tools\\Corvidex"), "C:\\Tools\\Corvidex.conf");
}

TEST(Trim, RemovesOnlySpacesAndTabsAtBothEnds) {
  const std::pair<std::string, std::string> cases[] = {
      {"", ""}, {" \t \t", ""}, {"  a b  ", "a b"}, {"\ta\t", "a"}, {"\ra\r", "\ra\r"}, {" \f x \v", "\f x \v"}};
  for (auto [input, expected] : cases) {
    Trim(input);
    EXPECT_EQ(input, expected);
  }
}

}  // namespace
