#include "journal_text.h"

#include "text_codec.h"

std::string JText(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (char c : utf8) {
    const auto byte = static_cast<unsigned char>(c);
    switch (c) {
      case '\r': out += "\\r"; break;
      case '\n': out += "\\n"; break;
      case '\t': out += "\\t"; break;
      case '\\': out += "\\\\"; break;
      default:
        if (byte < 0x20 || byte == 0x7F) {
          static const char kHex[] = "0123456789abcdef";
          out += "\\x";
          out += kHex[byte >> 4];
          out += kHex[byte & 15];
        } else {
          out += c;
        }
    }
  }
  return out;
}

std::string JText932(std::string_view text) {
  if (text.empty()) return {};
  const int length = MultiByteToWideChar(kClientCodePage, MB_ERR_INVALID_CHARS, text.data(),
                                         static_cast<int>(text.size()), nullptr, 0);
  if (length > 0) return JText(Utf8FromWide(WideFrom932(text)));
  // Not valid code page 932: keep ASCII readable and show every other byte by its value.
  std::string out;
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x80) {
      static const char kHex[] = "0123456789abcdef";
      out += "\\x";
      out += kHex[byte >> 4];
      out += kHex[byte & 15];
    } else {
      out += JText(std::string_view(&c, 1));
    }
  }
  return out;
}

std::string JText932(const char* text) { return text ? JText932(std::string_view(text)) : std::string("NULL"); }

std::string JWide(std::wstring_view text) { return JText(Utf8FromWide(text)); }

std::string JInt(long long value) { return std::to_string(value); }

std::string JPtr(const void* pointer) { return pointer ? "ptr" : "NULL"; }

std::string JResult(long long value) { return "= " + std::to_string(value); }

std::string JResult(std::string_view text) { return "= " + std::string(text); }
