// The index words of a text, as the stand-in counts them for est_db_word_num: every run of letters and digits of a
// spaced script is one word, and text of East Asian scripts is cut into overlapping pairs of characters (a lone
// character is a word by itself). Words are case-folded and kept as 64-bit hashes, which is all the count needs.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace estraier_standin {

void BreakIntoWordHashes(const std::string& normalizedText, std::vector<uint64_t>& out);

uint64_t HashBytes(const char* data, size_t size);

}  // namespace estraier_standin
