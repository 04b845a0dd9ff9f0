// Conversion of NUL-terminated texts between the client's code page (932) and UTF-8, through UTF-16.
#pragma once

#include <vector>

constexpr int kClientCodePage = 932;
constexpr int kUtf8CodePage = 65001;

// Converts source into target, at most targetSize bytes with the NUL. Returns the bytes written, the NUL
// included; 0 when the text does not fit (target then holds the empty text, if it has room for it) or cannot be
// converted (target untouched). A character that the target code page lacks makes the text unconvertible, so that
// no stand-in character ends up in a path.
int ConvertCodePage(const char* source, int sourceCodePage, char* target, int targetCodePage, int targetSize);

// Converts texts of any length into a buffer that grows to the converted size and is reused from one text to the
// next, so that no text is cut or left out however much it grows (a half-width katakana byte of code page 932
// becomes three bytes of UTF-8).
class CodePageConverter {
 public:
  // The converted text, NUL-terminated, valid until the next call; null when source cannot be converted.
  const char* Convert(const char* source, int sourceCodePage, int targetCodePage);

 private:
  std::vector<wchar_t> m_wide;
  std::vector<char> m_converted;
};
