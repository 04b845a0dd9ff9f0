#include "command_line.h"

#include <windows.h>
#include <shellapi.h>

#include "code_page.h"

namespace corvidex_search {

namespace {

std::optional<std::string> WideToUtf8(const wchar_t* wide) {
  const int size = WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, wide, -1, nullptr, 0, nullptr, nullptr);
  if (size <= 0) return std::nullopt;
  std::string utf8(static_cast<std::size_t>(size), '\0');
  if (WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, wide, -1, utf8.data(), size, nullptr, nullptr) != size) {
    return std::nullopt;
  }
  utf8.resize(static_cast<std::size_t>(size) - 1);  // without the NUL
  return utf8;
}

// Releases the array that CommandLineToArgvW allocates.
struct LocalArray {
  LPWSTR* items;
  ~LocalArray() {
    if (items) LocalFree(items);
  }
};

}  // namespace

std::optional<std::vector<std::string>> Utf8Arguments() {
  int count = 0;
  const LocalArray list{CommandLineToArgvW(GetCommandLineW(), &count)};
  if (!list.items) return std::nullopt;
  std::vector<std::string> args;
  for (int i = 1; i < count; ++i) {
    std::optional<std::string> arg = WideToUtf8(list.items[i]);
    if (!arg) return std::nullopt;
    args.push_back(std::move(*arg));
  }
  return args;
}

std::optional<std::string> Utf8ToCodePage(std::string_view utf8, unsigned codePage) {
  const std::string text(utf8);  // NUL-terminated for the converter
  CodePageConverter converter;
  const char* converted = converter.Convert(text.c_str(), CP_UTF8, static_cast<int>(codePage));
  if (!converted) return std::nullopt;
  return std::string(converted);
}

}  // namespace corvidex_search
