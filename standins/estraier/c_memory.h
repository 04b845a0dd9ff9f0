// Memory that the library hands to its callers comes from the C run-time's malloc, so that callers release it with
// that run-time's free (on Windows the free of MSVCRT.dll).
#pragma once

#include <cstdlib>
#include <cstring>
#include <string_view>

namespace estraier_standin {

// A NUL-terminated malloc'd copy, or null when memory runs out.
inline char* MallocCopy(std::string_view text) {
  char* copy = static_cast<char*>(std::malloc(text.size() + 1));
  if (!copy) return nullptr;
  std::memcpy(copy, text.data(), text.size());
  copy[text.size()] = '\0';
  return copy;
}

}  // namespace estraier_standin
