#include "request_argument.h"

#include <windows.h>

namespace {
constexpr UINT kCodePage932 = 932;
}

std::optional<std::string> RequestToCp932(std::wstring_view request) {
  if (request.empty()) return std::string();
  const int length = static_cast<int>(request.size());
  BOOL usedDefault = FALSE;
  const int size = WideCharToMultiByte(kCodePage932, WC_NO_BEST_FIT_CHARS, request.data(), length, nullptr, 0,
                                       nullptr, &usedDefault);
  if (size <= 0 || usedDefault) return std::nullopt;
  std::string bytes(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(kCodePage932, WC_NO_BEST_FIT_CHARS, request.data(), length, bytes.data(), size, nullptr,
                      &usedDefault);
  if (usedDefault) return std::nullopt;
  return bytes;
}
