// A document of the stand-in library: attributes, texts and hidden texts, all normalised on the way in.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "string_list.h"

struct ESTDOC {
  int id = -1;                                  // -1 until the document is stored or read from a database
  std::map<std::string, std::string> attrs;     // by name, in byte order of the names
  CBLIST texts;                                 // the visible texts in the order added
  std::vector<std::string> hiddenTexts;         // texts that are searched but not shown
  std::string hiddenJoined;                     // what est_doc_hidden_texts last returned
  int score = -1;
};

namespace estraier_standin {

// The visible texts joined by single spaces.
std::string CatTexts(const ESTDOC& doc);
// The hidden texts joined by single spaces.
std::string JoinHiddenTexts(const ESTDOC& doc);

}  // namespace estraier_standin
