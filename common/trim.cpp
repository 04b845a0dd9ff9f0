#include "trim.h"

void Trim(std::string& text) {
  constexpr const char* kBlanks = " \t";
  const auto first = text.find_first_not_of(kBlanks);
  if (first == std::string::npos) {
    text.clear();
    return;
  }
  const auto last = text.find_last_not_of(kBlanks);
  text.erase(last + 1);
  text.erase(0, first);
}
