// Conversions between the texts of the mail client (code page 932), of the window system (UTF-16) and of the
// journal and scripts (UTF-8).
#pragma once

#include <string>
#include <string_view>

constexpr unsigned kClientCodePage = 932;

std::wstring WideFromCodePage(std::string_view text, unsigned codePage);
// Characters that the code page cannot hold become '?'.
std::string CodePageFromWide(std::wstring_view text, unsigned codePage);

inline std::wstring WideFrom932(std::string_view text) { return WideFromCodePage(text, kClientCodePage); }
inline std::string To932(std::wstring_view text) { return CodePageFromWide(text, kClientCodePage); }
inline std::wstring WideFromUtf8(std::string_view text) { return WideFromCodePage(text, 65001); }
inline std::string Utf8FromWide(std::wstring_view text) { return CodePageFromWide(text, 65001); }

// True when every character of text exists in code page 932 (so To932 keeps it).
bool FitsCodePage932(std::wstring_view text);
