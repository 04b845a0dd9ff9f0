// The library's list type as this stand-in has it: a plain vector of byte strings. Callers of the stand-in treat
// it as opaque; the stand-in builds such lists for the entry points that return one.
#pragma once

#include <string>
#include <vector>

struct CBLIST {
  std::vector<std::string> items;
};
