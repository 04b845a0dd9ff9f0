// Fields of journal lines: texts converted to UTF-8 with control characters and backslashes escaped, so that a
// field never holds a tab or a line end.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

// A UTF-8 text, escaped: "\r", "\n", "\t", "\\" and "\xNN" for the other control characters.
std::string JText(std::string_view utf8);
// A text of the mail client (code page 932). Bytes that are no valid code page 932 are written as "\xNN".
std::string JText932(std::string_view text);
// A client text handed over as a pointer: "NULL" for a null pointer.
std::string JText932(const char* text);
std::string JWide(std::wstring_view text);
std::string JInt(long long value);
// A pointer argument: "ptr", or "NULL".
std::string JPtr(const void* pointer);
// "= <result>", the last field of call, event and command lines.
std::string JResult(long long value);
std::string JResult(std::string_view text);
