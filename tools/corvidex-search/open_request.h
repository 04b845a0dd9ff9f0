// The Pickwire request that shows a hit in the mail client.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace corvidex_search {

// Converts a UTF-8 text to code page 932; nothing when a character has no exact code page 932 form.
using ToCodePage932 = std::function<std::optional<std::string>(std::string_view utf8)>;

struct OpenRequest {
  std::string request;  // the bytes to write to Pickwire's pipe; empty when refused
  std::string refusal;  // why the hit makes no request, for people; empty when the request is sound

  bool Ok() const { return refusal.empty(); }
};

// The request for a document URI: "cvdx:" followed by the message path converted back from UTF-8 to code page 932,
// the form in which the mail client gave it to Corvidex. Refused when the URI is not a Corvidex document URI, when
// the path does not convert, or when Pickwire would refuse the request (it checks the same rules).
OpenRequest MakeOpenRequest(std::string_view uri, const ToCodePage932& toCodePage932);

}  // namespace corvidex_search
