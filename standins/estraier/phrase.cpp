#include "phrase.h"

#include "utf8_text.h"

namespace estraier_standin {
namespace {

char32_t FirstCodePoint(const std::string& text, size_t pos) { return DecodeAt(text, pos); }

// The code point that ends right before pos.
char32_t CodePointBefore(const std::string& text, size_t pos) {
  size_t start = pos;
  int back = 0;
  while (start > 0 && back < 4) {
    --start, ++back;
    if ((static_cast<unsigned char>(text[start]) & 0xC0) != 0x80) break;
  }
  size_t decode = start;
  char32_t c = DecodeAt(text, decode);
  return decode == pos ? c : static_cast<unsigned char>(text[pos - 1]);
}

}  // namespace

int CountOccurrences(const std::string& text, const std::string& word) {
  if (word.empty()) return 0;
  bool checkStart = IsSpacedWordCharacter(FirstCodePoint(word, 0));
  bool checkEnd = IsSpacedWordCharacter(CodePointBefore(word, word.size()));
  int count = 0;
  for (size_t pos = text.find(word); pos != std::string::npos; pos = text.find(word, pos + 1)) {
    size_t end = pos + word.size();
    if (checkStart && pos > 0 && IsSpacedWordCharacter(CodePointBefore(text, pos))) continue;
    if (checkEnd && end < text.size() && IsSpacedWordCharacter(FirstCodePoint(text, end))) continue;
    ++count;
  }
  return count;
}

Phrase::Phrase(const std::string& phrase) {
  std::string normalized = NormalizeText(phrase);
  bool joinNext = false, excludeNext = false;
  size_t pos = 0;
  while (pos < normalized.size()) {
    size_t end = normalized.find(' ', pos);
    if (end == std::string::npos) end = normalized.size();
    std::string token = normalized.substr(pos, end - pos);
    pos = end + 1;
    if (token == "AND") continue;
    if (token == "OR") {
      joinNext = !clauses_.empty();
      continue;
    }
    if (token == "ANDNOT") {
      excludeNext = true;
      continue;
    }
    if (token == "[UVSET]") {
      universal_ = true;
      continue;
    }
    std::string word = FoldCase(token);
    if (joinNext) {
      clauses_.back().alternatives.push_back(std::move(word));
    } else {
      clauses_.push_back(Clause{{std::move(word)}, excludeNext});
    }
    joinNext = excludeNext = false;
  }
}

std::optional<int> Phrase::Match(const std::string& text) const {
  std::string folded = FoldCase(text);
  int score = 0;
  bool anyWanted = universal_;
  for (const auto& clause : clauses_) {
    int found = 0;
    for (const auto& word : clause.alternatives) found += CountOccurrences(folded, word);
    if (clause.excluded) {
      if (found > 0) return std::nullopt;
    } else {
      if (found == 0) return std::nullopt;
      score += found;
      anyWanted = true;
    }
  }
  if (!anyWanted) return std::nullopt;  // only exclusions: nothing is wanted
  return score;
}

}  // namespace estraier_standin
