// The lines that corvidex-search prints for its hits, as UTF-8 text (the console writer converts them).
#pragma once

#include <string>

#include "search_hit.h"

namespace corvidex_search {

// rank, date, sender, subject and URI separated by tabs, with the line end. A tab, line end or other control
// character inside a value becomes a space, so that every hit keeps to one line of five fields.
std::string FormatHitLine(int rank, const SearchHit& hit);

// {"rank":..,"id":..,"uri":..,"date":..,"from":..,"subject":..} and a line feed; absent attributes are "".
std::string FormatHitJson(int rank, const SearchHit& hit);

}  // namespace corvidex_search
