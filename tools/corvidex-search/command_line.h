// The program's arguments as the system holds them, whatever the console's code page.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvidex_search {

// The arguments after the program name, split by the system's rules (CommandLineToArgvW on GetCommandLineW) and
// converted from UTF-16 to UTF-8. Nothing when the command line cannot be split or converted.
std::optional<std::vector<std::string>> Utf8Arguments();

// UTF-8 text in the given Windows code page; nothing when a character has no exact form there.
std::optional<std::string> Utf8ToCodePage(std::string_view utf8, unsigned codePage);

}  // namespace corvidex_search
