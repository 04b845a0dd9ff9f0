#include "code_page.h"

#include <windows.h>

namespace {

// Source to UTF-16 into wide (resized to fit, NUL included); false when nothing could be converted.
bool ToWide(const char* source, int sourceCodePage, std::vector<wchar_t>& wide) {
  const int needed = MultiByteToWideChar(sourceCodePage, 0, source, -1, nullptr, 0);
  if (needed <= 0) return false;
  if (wide.size() < static_cast<size_t>(needed)) wide.resize(needed);
  return MultiByteToWideChar(sourceCodePage, 0, source, -1, wide.data(), needed) == needed;
}

// UTF-16 to the target code page: the bytes written with the NUL, 0 on failure. targetSize 0 asks for the size.
// For code pages other than UTF-8 a character without an exact equivalent counts as a failure.
int FromWide(const wchar_t* wide, int targetCodePage, char* target, int targetSize) {
  if (targetCodePage == CP_UTF8) return WideCharToMultiByte(CP_UTF8, 0, wide, -1, target, targetSize, nullptr, nullptr);
  BOOL usedDefault = FALSE;
  const int written =
      WideCharToMultiByte(targetCodePage, WC_NO_BEST_FIT_CHARS, wide, -1, target, targetSize, nullptr, &usedDefault);
  return usedDefault ? 0 : written;
}

}  // namespace

int ConvertCodePage(const char* source, int sourceCodePage, char* target, int targetCodePage, int targetSize) {
  std::vector<wchar_t> wide;
  if (!ToWide(source, sourceCodePage, wide)) return 0;
  const int written = FromWide(wide.data(), targetCodePage, target, targetSize);
  if (written <= 0) {
    if (targetSize > 0) target[0] = '\0';
    return 0;
  }
  return written;
}

const char* CodePageConverter::Convert(const char* source, int sourceCodePage, int targetCodePage) {
  if (!ToWide(source, sourceCodePage, m_wide)) return nullptr;
  const int needed = FromWide(m_wide.data(), targetCodePage, nullptr, 0);
  if (needed <= 0) return nullptr;
  if (m_converted.size() < static_cast<size_t>(needed)) m_converted.resize(needed);
  if (FromWide(m_wide.data(), targetCodePage, m_converted.data(), needed) != needed) return nullptr;
  return m_converted.data();
}
