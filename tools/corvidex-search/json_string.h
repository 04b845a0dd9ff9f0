// Writing texts as JSON strings.
#pragma once

#include <string>
#include <string_view>

namespace corvidex_search {

// Appends text to out as a JSON string literal, quotes included. '"', '\' and control characters are escaped;
// valid UTF-8 passes as it is, and every byte that is not part of a valid UTF-8 sequence becomes U+FFFD, so that
// the result is always valid JSON in UTF-8.
void AppendJsonString(std::string& out, std::string_view text);

}  // namespace corvidex_search
