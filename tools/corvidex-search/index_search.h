// Running a search on an open index and reading what corvidex-search shows of each hit.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "estraier_api.h"
#include "search_hit.h"

namespace corvidex_search {

struct SearchQuery {
  std::string phrase;                             // UTF-8; empty: no phrase condition
  std::vector<std::string> attributeExpressions;  // UTF-8, each "name OPERATOR value"
  int maxHits = 1;                                // at least 1
};

// The hits of query in the library's order, at most query.maxHits of them. Ids whose "@uri" reads null (documents
// removed or replaced since the index was last optimised) are skipped and do not count: when they took places in
// a full result, the search is run again with room for as many more. Nothing when the library gives no result
// array (its error). Every condition is deleted and every result released with the table's free.
std::optional<std::vector<SearchHit>> SearchIndex(const CEstraierApi& api, ESTDB* db, const SearchQuery& query);

}  // namespace corvidex_search
