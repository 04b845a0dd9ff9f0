// Text handling of the stand-in library: UTF-8 decoding that tolerates broken bytes, the normalisation that
// documents apply to attribute values and texts, and letter-case folding for case-insensitive matching.
#pragma once

#include <string>
#include <string_view>

namespace estraier_standin {

// Attribute values: every control character becomes a space, runs of spaces become one, both ends are trimmed.
std::string NormalizeAttributeValue(std::string_view value);

// Texts and hidden texts: as attribute values, and also full-width ASCII (and the ideographic space) becomes ASCII
// and half-width katakana becomes full-width (a following voiced or semi-voiced mark is merged into the letter).
std::string NormalizeText(std::string_view text);

// Folds letter case for comparisons that ignore it: ASCII, Latin-1 and Latin Extended-A, Greek, Cyrillic and the
// full-width Latin letters. Bytes that are no valid UTF-8 are kept as they are.
std::string FoldCase(std::string_view text);

// True for a code point that belongs to a word of a spaced script (letters and digits other than the scripts of
// East Asia, which are written without spaces between words).
bool IsSpacedWordCharacter(char32_t codePoint);

// Decodes the code point at text[pos]; on return pos is past it. A byte that starts no valid sequence is returned
// as itself (0x80..0xFF) and consumes one byte.
char32_t DecodeAt(std::string_view text, size_t& pos);
void AppendUtf8(std::string& out, char32_t codePoint);

}  // namespace estraier_standin
