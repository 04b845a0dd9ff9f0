// One document found by a search, with the attributes that corvidex-search shows.
#pragma once

#include <string>

namespace corvidex_search {

struct SearchHit {
  int id = 0;
  std::string uri;      // "@uri": "cvdx:" and the message path, UTF-8
  std::string date;     // "@cdate", as the message's Date field reads; empty when absent
  std::string from;     // "@author"; empty when absent
  std::string subject;  // "@title"; empty when absent
};

}  // namespace corvidex_search
