#include "utf8_text.h"

namespace estraier_standin {
namespace {

bool IsControl(char32_t c) { return c < 0x20 || c == 0x7F; }

// Half-width katakana U+FF61..U+FF9F and the full-width characters they stand for.
constexpr char16_t kHalfWidthKana[] = {
    0x3002, 0x300C, 0x300D, 0x3001, 0x30FB, 0x30F2, 0x30A1, 0x30A3, 0x30A5, 0x30A7, 0x30A9, 0x30E3, 0x30E5,
    0x30E7, 0x30C3, 0x30FC, 0x30A2, 0x30A4, 0x30A6, 0x30A8, 0x30AA, 0x30AB, 0x30AD, 0x30AF, 0x30B1, 0x30B3,
    0x30B5, 0x30B7, 0x30B9, 0x30BB, 0x30BD, 0x30BF, 0x30C1, 0x30C4, 0x30C6, 0x30C8, 0x30CA, 0x30CB, 0x30CC,
    0x30CD, 0x30CE, 0x30CF, 0x30D2, 0x30D5, 0x30D8, 0x30DB, 0x30DE, 0x30DF, 0x30E0, 0x30E1, 0x30E2, 0x30E4,
    0x30E6, 0x30E8, 0x30E9, 0x30EA, 0x30EB, 0x30EC, 0x30ED, 0x30EF, 0x30F3, 0x309B, 0x309C};
constexpr char32_t kHalfWidthVoicedMark = 0xFF9E;
constexpr char32_t kHalfWidthSemiVoicedMark = 0xFF9F;

// The full-width letter with a voiced mark, or 0 when the letter takes none.
char32_t WithVoicedMark(char32_t kana) {
  if ((kana >= 0x30AB && kana <= 0x30C2 && kana % 2 == 1) || kana == 0x30C4 || kana == 0x30C6 || kana == 0x30C8)
    return kana + 1;
  if (kana >= 0x30CF && kana <= 0x30DB && (kana - 0x30CF) % 3 == 0) return kana + 1;
  if (kana == 0x30A6) return 0x30F4;
  if (kana == 0x30EF) return 0x30F7;
  if (kana == 0x30F2) return 0x30FA;
  return 0;
}

char32_t WithSemiVoicedMark(char32_t kana) {
  if (kana >= 0x30CF && kana <= 0x30DB && (kana - 0x30CF) % 3 == 0) return kana + 2;
  return 0;
}

// Replaces control characters by spaces, squeezes runs of spaces and trims, on already mapped code points.
class SpaceSqueezer {
 public:
  void Add(char32_t c, std::string_view raw) {
    if (c == ' ') {
      pendingSpace_ = !out_.empty();
      return;
    }
    if (pendingSpace_) out_ += ' ';
    pendingSpace_ = false;
    out_.append(raw);
  }
  void Add(char32_t c) {
    std::string encoded;
    AppendUtf8(encoded, c);
    Add(c, encoded);
  }
  std::string Take() { return std::move(out_); }

 private:
  std::string out_;
  bool pendingSpace_ = false;
};

}  // namespace

char32_t DecodeAt(std::string_view text, size_t& pos) {
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
  unsigned char lead = byte(pos);
  if (lead < 0x80) {
    ++pos;
    return lead;
  }
  int length = 0;
  char32_t cp = 0;
  char32_t minimum = 0;
  if ((lead & 0xE0) == 0xC0) {
    length = 2, cp = lead & 0x1F, minimum = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3, cp = lead & 0x0F, minimum = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4, cp = lead & 0x07, minimum = 0x10000;
  }
  if (length == 0 || pos + length > text.size()) {
    ++pos;
    return lead;
  }
  for (int i = 1; i < length; ++i) {
    unsigned char next = byte(pos + i);
    if ((next & 0xC0) != 0x80) {
      ++pos;
      return lead;
    }
    cp = (cp << 6) | (next & 0x3F);
  }
  if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
    ++pos;
    return lead;
  }
  pos += length;
  return cp;
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

std::string NormalizeAttributeValue(std::string_view value) {
  // Control characters are single bytes, so the value can be handled bytewise and broken UTF-8 stays as it is.
  SpaceSqueezer squeezer;
  for (char byte : value) {
    char32_t c = static_cast<unsigned char>(byte);
    squeezer.Add(IsControl(c) ? U' ' : c, std::string_view(&byte, 1));
  }
  return squeezer.Take();
}

std::string NormalizeText(std::string_view text) {
  SpaceSqueezer squeezer;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t start = pos;
    char32_t c = DecodeAt(text, pos);
    bool decoded = pos - start > 1 || c < 0x80;
    if (!decoded) {  // a broken byte: kept as it is
      squeezer.Add(c, text.substr(start, 1));
      continue;
    }
    if (IsControl(c) || c == 0x3000) {
      squeezer.Add(U' ');
    } else if (c >= 0xFF01 && c <= 0xFF5E) {
      squeezer.Add(c - 0xFF01 + 0x21);
    } else if (c >= 0xFF61 && c <= 0xFF9F) {
      char32_t kana = kHalfWidthKana[c - 0xFF61];
      // A voiced or semi-voiced mark right after the letter belongs to it.
      size_t next = pos;
      if (next < text.size()) {
        char32_t mark = DecodeAt(text, next);
        char32_t merged = mark == kHalfWidthVoicedMark       ? WithVoicedMark(kana)
                          : mark == kHalfWidthSemiVoicedMark ? WithSemiVoicedMark(kana)
                                                             : 0;
        if (merged) {
          kana = merged;
          pos = next;
        }
      }
      squeezer.Add(kana);
    } else {
      squeezer.Add(c, text.substr(start, pos - start));
    }
  }
  return squeezer.Take();
}

namespace {
char32_t FoldCodePoint(char32_t c) {
  if (c < 0x80) return (c >= 'A' && c <= 'Z') ? c + 0x20 : c;
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 0x20;
  if (c >= 0x100 && c <= 0x17F) {
    if (c == 0x130) return 'i';
    if (c == 0x178) return 0xFF;
    if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) return c % 2 == 1 ? c + 1 : c;
    if (c == 0x131 || c == 0x138 || c == 0x149 || c == 0x17F) return c;
    return c % 2 == 0 ? c + 1 : c;
  }
  if (c >= 0x391 && c <= 0x3A9 && c != 0x3A2) return c + 0x20;
  if (c == 0x3C2) return 0x3C3;  // final sigma
  if (c == 0x386) return 0x3AC;
  if (c >= 0x388 && c <= 0x38A) return c + 0x25;
  if (c == 0x38C) return 0x3CC;
  if (c == 0x38E || c == 0x38F) return c + 0x3F;
  if (c >= 0x410 && c <= 0x42F) return c + 0x20;
  if (c >= 0x400 && c <= 0x40F) return c + 0x50;
  if (c >= 0xFF21 && c <= 0xFF3A) return c + 0x20;
  return c;
}
}  // namespace

std::string FoldCase(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  size_t pos = 0;
  while (pos < text.size()) {
    size_t start = pos;
    char32_t c = DecodeAt(text, pos);
    if (pos - start == 1 && c >= 0x80) {
      out += text[start];
      continue;
    }
    AppendUtf8(out, FoldCodePoint(c));
  }
  return out;
}

bool IsSpacedWordCharacter(char32_t c) {
  if (c < 0x80) return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
  // Latin, Greek, Cyrillic and their neighbours up to the start of the East Asian blocks.
  if (c >= 0xC0 && c < 0x2000) return c != 0xD7 && c != 0xF7;
  return false;
}

}  // namespace estraier_standin
