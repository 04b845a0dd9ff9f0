// The message parser, as one table: each text with the fields it gives (in table order) and its body.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "mail_message.h"

namespace {
using Fields = std::vector<std::pair<std::string, std::string>>;

struct ParseCase {
  const char* what;
  std::string text;
  Fields fields;
  std::optional<std::string> body;  // the text after the header block (a suffix of text); nullopt: no body
};

std::vector<ParseCase> Cases() {
  return {
      {"CR-LF lines", "Subject: Hello\r\n\r\nBody text\r\n", {{"Subject", "Hello"}}, "Body text\r\n"},
      {"bare LF lines", "Subject: Hello\n\nBody text\n", {{"Subject", "Hello"}}, "Body text\n"},
      {"a bare CR ends no line", "Subject: Hello\rTo: x\n\nB", {{"Subject", "Hello\rTo: x"}}, "B"},
      {"a line of two carriage returns completes the field and is ignored",
       "Subject: Hello\r\n\r\r\n\tmore\r\nTo: x\r\n\r\nB",
       {{"Subject", "Hello"}, {"To", "x"}},
       "B"},
      {"continuations are trimmed and joined by one space",
       "Subject: Hello\r\n   World  \r\n\tagain\r\n\r\n",
       {{"Subject", "Hello World again"}},
       ""},
      {"a blank-only line continues with a single space",
       "Subject: Hello\r\n \t \r\n\r\nB",
       {{"Subject", "Hello "}},
       "B"},
      {"no blank after the colon; a blank before it stays in the name",
       "Subject:Hello\r\nFrom : me\r\n\r\n",
       {{"From ", "me"}, {"Subject", "Hello"}},
       ""},
      {"only the first colon splits", "Date: Sun, 09 Aug 2009 10:00:00 +0900\n\n",
       {{"Date", "Sun, 09 Aug 2009 10:00:00 +0900"}}, ""},
      {"repeated names join; TO sorts before To",
       "To: a\r\nTO: c\r\nTo: b\r\n\r\n",
       {{"TO", "c"}, {"To", "a b"}},
       ""},
      {"empty value is dropped", "Subject:\r\n\r\n", {}, ""},
      {"empty value with a continuation keeps its leading space", "Subject:  \r\n\tHello\r\n\r\n",
       {{"Subject", " Hello"}}, ""},
      {"a line without a colon between a field and its continuation",
       "Subject: Hello\r\nno colon here\r\n\tmore\r\nTo: x\r\n\r\n",
       {{"Subject", "Hello"}, {"To", "x"}},
       ""},
      {"a name without a value keeps the pending one for its continuation",
       "Subject:\r\nno colon\r\n\tlate\r\n\r\n",
       {{"Subject", " late"}},
       ""},
      {"an empty name is never stored", ": orphan\r\nX: y\r\n\r\n", {{"X", "y"}}, ""},
      {"no empty line: fields kept, no body", "Subject: Hello\r\nTo: x\r\n", {{"Subject", "Hello"}, {"To", "x"}},
       std::nullopt},
      {"last line unterminated, no body", "Subject: Hello", {{"Subject", "Hello"}}, std::nullopt},
      {"ends with the empty line: empty body at the NUL", "Subject: Hello\r\n\r\n", {{"Subject", "Hello"}}, ""},
      {"ends with a lone CR line: empty body at the NUL", "Subject: Hello\n\r", {{"Subject", "Hello"}}, ""},
      {"starts with the empty line: everything after it is the body", "\r\nSubject: not a header\r\n", {},
       "Subject: not a header\r\n"},
      {"empty text", "", {}, std::nullopt},
      {"body keeps its header-like lines and line ends", "A: 1\n\nB: 2\r\n\r\nC\n", {{"A", "1"}},
       "B: 2\r\n\r\nC\n"},
      {"non-ASCII bytes pass unchanged", "Subject: \xE6\x97\xA5\xE6\x9C\xAC \r\n\r\n\xE6\x9C\xAC",
       {{"Subject", "\xE6\x97\xA5\xE6\x9C\xAC"}}, "\xE6\x9C\xAC"},
  };
}

TEST(MailMessage, ParsesTheTableOfTexts) {
  for (const ParseCase& c : Cases()) {
    SCOPED_TRACE(c.what);
    const CMailMessage message(c.text.c_str());
    const Fields fields(message.Headers().begin(), message.Headers().end());
    EXPECT_EQ(fields, c.fields);
    if (c.body) {
      ASSERT_NE(message.Body(), nullptr);
      EXPECT_EQ(static_cast<std::size_t>(message.Body() - c.text.c_str()), c.text.size() - c.body->size());
      EXPECT_EQ(message.Body(), *c.body);
    } else {
      EXPECT_EQ(message.Body(), nullptr);
    }
  }
}

TEST(MailMessage, NullTextIsEmpty) {
  const CMailMessage message(nullptr);
  EXPECT_TRUE(message.Headers().empty());
  EXPECT_EQ(message.Body(), nullptr);
}

// Many repeated, folded fields become one value in text order (the benchmark measures the speed of such texts).
TEST(MailMessage, ManyRepeatedFieldsJoinInOrder) {
  std::string text;
  for (int i = 0; i < 100000; ++i) text += "Received: " + std::to_string(i) + "\r\n\t.\r\n";
  text += "\r\nbody";
  const CMailMessage message(text.c_str());
  ASSERT_EQ(message.Headers().size(), 1u);
  const std::string& value = message.Headers().at("Received");
  EXPECT_EQ(value.substr(0, 10), "0 . 1 . 2 ");
  EXPECT_EQ(value.substr(value.size() - 15), "99998 . 99999 .");
  EXPECT_STREQ(message.Body(), "body");
}
}  // namespace
