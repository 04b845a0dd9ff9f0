// The requests that Pickwire's pipe accepts, what they ask of the mail client, and the ones it refuses.
#include "request.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using pickwire::ParseRequest;
using pickwire::RequestRefusal;

// Code page 932 texts, written as bytes. Several have a trail byte that is '\' (0x5C) or 'A' (0x41).
#define HYO "\x95\x5C"                  // 表
#define SO "\x83\x5C"                   // ソ
#define NOU "\x94\x5C"                  // 能
#define A_KATAKANA "\x83\x41"           // ア
#define JUSHINBAKO "\x8E\xF3\x90\x4D\x94\xA0"  // 受信箱

struct Case {
  const char* name;
  std::string request;
  RequestRefusal refusal;
  std::string folderPath = {};   // expected when accepted
  std::string messagePath = {};  // expected when accepted
};

std::string Repeat(char c, std::size_t n) { return std::string(n, c); }

const Case kCases[] = {
    {"uri_with_backslashes", "cvdx:Z:\\mail\\Account\\taro\\inbox:0001.eml", RequestRefusal::kNone, "taro\\inbox",
     "Z:\\mail\\Account\\taro\\inbox:0001.eml"},
    {"forward_slashes_become_backslashes", "cvdx:Z:/mail/Account/taro/inbox:0001.eml", RequestRefusal::kNone,
     "taro\\inbox", "Z:\\mail\\Account\\taro\\inbox:0001.eml"},
    {"mixed_slashes", "cvdx:Z:\\mail/Account\\taro/inbox:0001.eml", RequestRefusal::kNone, "taro\\inbox",
     "Z:\\mail\\Account\\taro\\inbox:0001.eml"},
    {"empty_prefix", ":Z:\\mail\\Account\\taro\\inbox:1", RequestRefusal::kNone, "taro\\inbox",
     "Z:\\mail\\Account\\taro\\inbox:1"},
    // Without a prefix the drive letter's colon ends the prefix: the message path loses its drive.
    {"drive_letter_without_prefix", "Z:\\mail\\Account\\taro\\inbox:0001.eml", RequestRefusal::kNone,
     "taro\\inbox", "\\mail\\Account\\taro\\inbox:0001.eml"},
    {"trailing_line_end_kept", "cvdx:Z:\\mail\\Account\\taro\\inbox:0001.eml\r\n", RequestRefusal::kNone,
     "taro\\inbox", "Z:\\mail\\Account\\taro\\inbox:0001.eml\r\n"},
    {"first_account_counts", "cvdx:Z:\\Account\\x\\Account\\taro\\inbox:1", RequestRefusal::kNone,
     "x\\Account\\taro\\inbox", "Z:\\Account\\x\\Account\\taro\\inbox:1"},
    {"balanced_parentheses", "cvdx:Z:\\m\\Account\\taro\\Archive (2009):1", RequestRefusal::kNone,
     "taro\\Archive (2009)", "Z:\\m\\Account\\taro\\Archive (2009):1"},
    {"nested_parentheses", "cvdx:Z:\\m\\Account\\t\\a((b)c)(d):1", RequestRefusal::kNone, "t\\a((b)c)(d)",
     "Z:\\m\\Account\\t\\a((b)c)(d):1"},
    {"empty_folder_path", "cvdx:Account\\:1", RequestRefusal::kNone, "", "Account\\:1"},
    {"japanese_folders_with_backslash_trail_bytes",
     "cvdx:Z:\\m\\Account\\taro\\" HYO "\\" SO "\\" NOU ":1.eml", RequestRefusal::kNone,
     "taro\\" HYO "\\" SO "\\" NOU, "Z:\\m\\Account\\taro\\" HYO "\\" SO "\\" NOU ":1.eml"},
    {"japanese_folder_with_slashes", "cvdx:Z:/m/Account/taro/" JUSHINBAKO "/" HYO ":1.eml", RequestRefusal::kNone,
     "taro\\" JUSHINBAKO "\\" HYO, "Z:\\m\\Account\\taro\\" JUSHINBAKO "\\" HYO ":1.eml"},
    // "アccount\" holds the bytes of "Account\" from the trail byte of ア on: that is no "Account\".
    {"account_inside_double_byte_character", "cvdx:Z:\\" A_KATAKANA "ccount\\x\\Account\\taro\\inbox:1",
     RequestRefusal::kNone, "taro\\inbox", "Z:\\" A_KATAKANA "ccount\\x\\Account\\taro\\inbox:1"},
    {"only_account_inside_double_byte_character", "cvdx:Z:\\" A_KATAKANA "ccount\\taro\\inbox:1",
     RequestRefusal::kNoAccountMarker},
    {"folder_path_of_242_bytes", "cvdx:Account\\" + Repeat('f', 242) + ":1", RequestRefusal::kNone,
     Repeat('f', 242), "Account\\" + Repeat('f', 242) + ":1"},
    {"request_of_4095_bytes", "cvdx:Account\\f:" + Repeat('m', 4095 - 15), RequestRefusal::kNone, "f",
     "Account\\f:" + Repeat('m', 4095 - 15)},

    {"request_of_4096_bytes", "cvdx:Account\\f:" + Repeat('m', 4096 - 15), RequestRefusal::kTooLong},
    {"no_account", "cvdx:Z:\\files\\report.txt:1", RequestRefusal::kNoAccountMarker},
    {"lowercase_account", "cvdx:Z:\\mail\\account\\taro\\inbox:0001.eml", RequestRefusal::kNoAccountMarker},
    {"no_colon", "Account\\taro\\inbox", RequestRefusal::kNoColon},
    {"empty_request", "", RequestRefusal::kNoAccountMarker},
    {"last_colon_before_account", "cvdx:Z:\\mail\\Account\\taro\\inbox", RequestRefusal::kNoColonAfterFolder},
    {"folder_path_of_243_bytes", "cvdx:Account\\" + Repeat('f', 243) + ":1", RequestRefusal::kFolderPathTooLong},
    {"semicolon_ends_the_macro", "cvdx:Account\\taro;Quit():1", RequestRefusal::kFolderPathSemicolon},
    {"statement_smuggled_between_parentheses", "cvdx:Account\\taro);Quit();(x:1",
     RequestRefusal::kFolderPathParentheses},
    {"semicolon_alone", "cvdx:Account\\ta;ro:1", RequestRefusal::kFolderPathSemicolon},
    {"quote", "cvdx:Account\\ta\"ro:1", RequestRefusal::kFolderPathQuote},
    {"line_feed_in_folder", "cvdx:Account\\taro\nQuit():1", RequestRefusal::kFolderPathControlByte},
    {"carriage_return_in_folder", "cvdx:Account\\taro\r:1", RequestRefusal::kFolderPathControlByte},
    {"tab_in_folder", "cvdx:Account\\ta\tro:1", RequestRefusal::kFolderPathControlByte},
    {"zero_byte_in_folder", std::string("cvdx:Account\\ta\0ro:1", 21), RequestRefusal::kFolderPathControlByte},
    {"delete_byte_in_folder", "cvdx:Account\\ta\x7Fro:1", RequestRefusal::kFolderPathControlByte},
    {"close_before_open", "cvdx:Account\\taro)x(:1", RequestRefusal::kFolderPathParentheses},
    {"closing_the_macro_early", "cvdx:Account\\taro) Quit(:1", RequestRefusal::kFolderPathParentheses},
    {"open_left_open", "cvdx:Account\\Archive (2009:1", RequestRefusal::kFolderPathParentheses},
    {"lead_byte_before_colon", "cvdx:Account\\taro\x95:1", RequestRefusal::kFolderPathBrokenCharacter},
    {"lead_byte_before_parenthesis", "cvdx:Account\\a(b\x95):1", RequestRefusal::kFolderPathBrokenCharacter},
};

TEST(PickwireRequest, AcceptsAndRefusesByTheFormat) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    const auto parse = ParseRequest(c.request);
    EXPECT_EQ(parse.refusal, c.refusal) << pickwire::DescribeRefusal(parse.refusal);
    if (c.refusal != RequestRefusal::kNone || !parse.Accepted()) continue;
    EXPECT_EQ(parse.request.folderPath, c.folderPath);
    EXPECT_EQ(parse.request.messagePath, c.messagePath);
    EXPECT_EQ(parse.request.openFolderMacro, "OpenThisFolder(" + c.folderPath + ");");
    EXPECT_LT(parse.request.openFolderMacro.size(), pickwire::kMacroBufferSize);
  }
}

TEST(PickwireRequest, EveryRefusalIsExplained) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    const std::string reason = pickwire::DescribeRefusal(ParseRequest(c.request).refusal);
    EXPECT_FALSE(reason.empty());
    EXPECT_EQ(reason == "accepted", c.refusal == RequestRefusal::kNone);
  }
}

}  // namespace
