// A search condition of the stand-in library.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "string_list.h"

struct ESTCOND {
  std::optional<std::string> phrase;
  CBLIST attrs;  // attribute expressions, normalised like attribute values; all must hold
  std::optional<std::string> order;
  int max = -1;  // negative: no limit
  int skip = 0;
  int options = 0;
  int auxiliary = 32;
  std::optional<std::string> distinct;
  int mask = 0;
  std::vector<int> scores;  // the scores of the last search's results, in result order
};
