// Turning the request argument of pickwire-send into the code page 932 bytes that Pickwire reads.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// The request text, given as UTF-16 (the command line as the system holds it, whatever the console's encoding),
// in code page 932. Nothing when a character has no code page 932 form: a stand-in character would name
// another message.
std::optional<std::string> RequestToCp932(std::wstring_view request);
