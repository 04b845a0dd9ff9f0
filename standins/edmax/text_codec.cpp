#include "text_codec.h"

#include <windows.h>

std::wstring WideFromCodePage(std::string_view text, unsigned codePage) {
  if (text.empty()) return {};
  const int length = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
  return wide;
}

std::string CodePageFromWide(std::wstring_view text, unsigned codePage) {
  if (text.empty()) return {};
  const int length =
      WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), bytes.data(), length, nullptr,
                      nullptr);
  return bytes;
}

bool FitsCodePage932(std::wstring_view text) {
  if (text.empty()) return true;
  BOOL lossy = FALSE;
  WideCharToMultiByte(kClientCodePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, &lossy);
  return !lossy;
}
