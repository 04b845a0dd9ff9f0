// Character boundaries in code page 932 (Shift_JIS) byte texts.
//
// A lead byte (0x81-0x9F, 0xE0-0xFC) followed by a trail byte (0x40-0x7E, 0x80-0xFC) is one double-byte
// character; every other byte is a character of its own, also a lead byte that has no valid trail byte after it.
// Trail bytes never lie below 0x40, so ':', '/', ';', '"', '(' and ')' are always characters of their own, but a
// trail byte can be '\' (0x5C, as in the second byte of "表") or a letter (0x41 'A', as in "ア"): searches for
// texts that hold such bytes must start at character boundaries.
#pragma once

#include <cstddef>
#include <string_view>

namespace pickwire {

constexpr bool IsCp932LeadByte(unsigned char byte) {
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

constexpr bool IsCp932TrailByte(unsigned char byte) {
  return (byte >= 0x40 && byte <= 0x7E) || (byte >= 0x80 && byte <= 0xFC);
}

// Length in bytes (1 or 2) of the character that starts at pos (pos < text.size()).
constexpr std::size_t Cp932CharLength(std::string_view text, std::size_t pos) {
  const auto lead = static_cast<unsigned char>(text[pos]);
  if (IsCp932LeadByte(lead) && pos + 1 < text.size() && IsCp932TrailByte(static_cast<unsigned char>(text[pos + 1]))) {
    return 2;
  }
  return 1;
}

// True when the byte at pos is a lead byte that no trail byte follows: a broken character.
constexpr bool IsBrokenCp932Char(std::string_view text, std::size_t pos) {
  return IsCp932LeadByte(static_cast<unsigned char>(text[pos])) && Cp932CharLength(text, pos) == 1;
}

}  // namespace pickwire
