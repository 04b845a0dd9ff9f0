#include "index_search.h"

#include <memory>

#include "estraier_objects.h"

namespace corvidex_search {

namespace {

// Memory that the library allocated, released with the free of its run-time library.
class CLibraryMemory {
 public:
  CLibraryMemory(const CEstraierApi& api, void* memory) : m_api(api), m_memory(memory) {}
  ~CLibraryMemory() {
    if (m_memory) m_api.free(m_memory);
  }
  CLibraryMemory(const CLibraryMemory&) = delete;
  CLibraryMemory& operator=(const CLibraryMemory&) = delete;

 private:
  const CEstraierApi& m_api;
  void* m_memory;
};

// The value of attribute name of document id; nothing when the library gives none.
std::optional<std::string> ReadAttribute(const CEstraierApi& api, ESTDB* db, int id, const char* name) {
  char* value = api.est_db_get_doc_attr(db, id, name);
  CLibraryMemory owner(api, value);
  if (!value) return std::nullopt;
  return std::string(value);
}

// One run of the search with room for `room` ids: the hits of the live ids among them, and whether the library
// filled all the room (so more may follow). Nothing on the library's error.
struct SearchRound {
  std::vector<SearchHit> hits;
  bool full = false;
};

std::optional<SearchRound> RunSearch(const CEstraierApi& api, ESTDB* db, const SearchQuery& query, int room) {
  CEstCondition condition(api, api.est_cond_new());
  if (!condition.Get()) return std::nullopt;
  if (!query.phrase.empty()) api.est_cond_set_phrase(condition.Get(), query.phrase.c_str());
  for (const std::string& expression : query.attributeExpressions) {
    api.est_cond_add_attr(condition.Get(), expression.c_str());
  }
  api.est_cond_set_max(condition.Get(), room);

  int count = 0;
  int* ids = api.est_db_search(db, condition.Get(), &count, nullptr);
  CLibraryMemory owner(api, ids);
  if (!ids) return std::nullopt;

  SearchRound round;
  round.full = count >= room;
  for (int i = 0; i < count && static_cast<int>(round.hits.size()) < query.maxHits; ++i) {
    std::optional<std::string> uri = ReadAttribute(api, db, ids[i], "@uri");
    if (!uri) continue;  // removed or replaced since the last optimisation
    SearchHit hit;
    hit.id = ids[i];
    hit.uri = std::move(*uri);
    hit.date = ReadAttribute(api, db, ids[i], "@cdate").value_or("");
    hit.from = ReadAttribute(api, db, ids[i], "@author").value_or("");
    hit.subject = ReadAttribute(api, db, ids[i], "@title").value_or("");
    round.hits.push_back(std::move(hit));
  }
  return round;
}

}  // namespace

std::optional<std::vector<SearchHit>> SearchIndex(const CEstraierApi& api, ESTDB* db, const SearchQuery& query) {
  int room = query.maxHits;
  for (;;) {
    std::optional<SearchRound> round = RunSearch(api, db, query, room);
    if (!round) return std::nullopt;
    const int missing = query.maxHits - static_cast<int>(round->hits.size());
    if (missing <= 0 || !round->full) return std::move(round->hits);
    room += missing;  // the skipped ids took that many places
  }
}

}  // namespace corvidex_search
