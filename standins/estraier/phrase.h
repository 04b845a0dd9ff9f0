// Search phrases: space-separated words that must all occur in a document's texts or hidden texts. "AND" between
// words changes nothing, "OR" makes the words on both sides alternatives, "ANDNOT" excludes the next word, and
// "[UVSET]" alone matches every document. A word is found as a substring of the normalised, case-folded text,
// where a word of a spaced script (Latin letters, digits, Greek, Cyrillic) must also stand at word boundaries;
// Japanese and Chinese words are found wherever they occur, as such text has no spaces between its words.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace estraier_standin {

class Phrase {
 public:
  explicit Phrase(const std::string& phrase);

  // True when the phrase has no words (and so sets no condition).
  bool Empty() const { return clauses_.empty() && !universal_; }

  // The document's score when it matches (the number of occurrences of the wanted words), else nullopt. The text
  // is the document's texts and hidden texts joined by spaces, already normalised; it is folded here.
  std::optional<int> Match(const std::string& text) const;

 private:
  struct Clause {
    std::vector<std::string> alternatives;  // normalised and folded
    bool excluded = false;
  };
  std::vector<Clause> clauses_;
  bool universal_ = false;
};

// How often word occurs in folded text (word boundaries as described above).
int CountOccurrences(const std::string& foldedText, const std::string& word);

}  // namespace estraier_standin
