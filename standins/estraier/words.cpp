#include "words.h"

#include "utf8_text.h"

namespace estraier_standin {
namespace {

bool IsEastAsianLetter(char32_t c) {
  return (c >= 0x3040 && c <= 0x30FF) || (c >= 0x3400 && c <= 0x4DBF) || (c >= 0x4E00 && c <= 0x9FFF) ||
         (c >= 0xAC00 && c <= 0xD7AF) || (c >= 0xF900 && c <= 0xFAFF);
}

}  // namespace

uint64_t HashBytes(const char* data, size_t size) {
  uint64_t hash = 0xcbf29ce484222325ULL;  // FNV-1a
  for (size_t i = 0; i < size; ++i) {
    hash ^= static_cast<unsigned char>(data[i]);
    hash *= 0x100000001b3ULL;
  }
  return hash;
}

void BreakIntoWordHashes(const std::string& normalizedText, std::vector<uint64_t>& out) {
  const std::string text = FoldCase(normalizedText);
  enum class Run { None, Spaced, EastAsian } run = Run::None;
  size_t runStart = 0;
  size_t previousStart = 0;  // start of the previous East Asian character
  int eastAsianCount = 0;
  auto endRun = [&](size_t end) {
    if (run == Run::Spaced || (run == Run::EastAsian && eastAsianCount == 1))
      out.push_back(HashBytes(text.data() + runStart, end - runStart));
    run = Run::None;
  };
  size_t pos = 0;
  while (pos < text.size()) {
    size_t start = pos;
    char32_t c = DecodeAt(text, pos);
    if (IsSpacedWordCharacter(c)) {
      if (run != Run::Spaced) endRun(start), run = Run::Spaced, runStart = start;
    } else if (IsEastAsianLetter(c)) {
      if (run != Run::EastAsian) {
        endRun(start), run = Run::EastAsian, runStart = start, eastAsianCount = 0;
      } else {
        out.push_back(HashBytes(text.data() + previousStart, pos - previousStart));
      }
      previousStart = start;
      ++eastAsianCount;
    } else {
      endRun(start);
    }
  }
  endRun(text.size());
}

}  // namespace estraier_standin
