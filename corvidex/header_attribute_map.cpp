#include "header_attribute_map.h"

#if defined(_WIN32)
#include <windows.h>
#endif

namespace {
bool EqualIgnoringCase(const char* a, const char* b) {
#if defined(_WIN32)
  return lstrcmpiA(a, b) == 0;
#else
  auto lower = [](unsigned char c) { return (c >= 'A' && c <= 'Z') ? c + ('a' - 'A') : c; };
  for (; *a && *b; ++a, ++b) {
    if (lower(static_cast<unsigned char>(*a)) != lower(static_cast<unsigned char>(*b))) return false;
  }
  return *a == *b;
#endif
}
}  // namespace

const CHeaderAttributeMap::Row* CHeaderAttributeMap::Find(const char* name) {
  for (const Row& row : kRows) {
    if (EqualIgnoringCase(name, row.headerName)) return &row;
  }
  return nullptr;
}
