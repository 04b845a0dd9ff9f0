// Searching: attribute expressions and a phrase, every live document checked in turn, then order, distinct
// values, skip and max. The result array comes from malloc, also when nothing was found.
#include <algorithm>
#include <cstdlib>
#include <optional>
#include <set>

#include "attribute_expression.h"
#include "condition.h"
#include "database.h"
#include "document.h"
#include "exports.h"
#include "phrase.h"

using namespace estraier_standin;

namespace {

struct Hit {
  int id;
  int score;
};

// The text a phrase is looked for in: the texts, then the hidden texts.
std::string SearchableText(const ESTDOC& doc) {
  std::string text = CatTexts(doc);
  std::string hidden = JoinHiddenTexts(doc);
  if (!hidden.empty()) text += (text.empty() ? "" : " ") + hidden;
  return text;
}

const std::string* AttributeOf(const DocumentStore& store, int id, const std::string& name) {
  const auto& attrs = store.documents().at(id).attrs;
  auto found = attrs.find(name);
  return found == attrs.end() ? nullptr : &found->second;
}

// Orders hits as the condition's order expression says: "[IDA]", "[IDD]", "[SCA]", "[SCD]" or "<attribute>
// STRA|STRD|NUMA|NUMD"; without one by score (with a phrase) or by id.
void Order(std::vector<Hit>& hits, const ESTCOND& cond, bool byScore, const DocumentStore& store) {
  std::string order = cond.order.value_or(byScore ? "[SCD]" : "[IDA]");
  auto byIdAscending = [](const Hit& a, const Hit& b) { return a.id < b.id; };
  if (order == "[IDD]") {
    std::sort(hits.begin(), hits.end(), [](const Hit& a, const Hit& b) { return a.id > b.id; });
  } else if (order == "[SCD]") {
    std::stable_sort(hits.begin(), hits.end(), [](const Hit& a, const Hit& b) { return a.score > b.score; });
  } else if (order == "[SCA]") {
    std::stable_sort(hits.begin(), hits.end(), [](const Hit& a, const Hit& b) { return a.score < b.score; });
  } else if (size_t space = order.find(' '); space != std::string::npos) {
    const std::string name = order.substr(0, space);
    const std::string kind = order.substr(space + 1);
    const bool numeric = kind == "NUMA" || kind == "NUMD";
    const bool descending = kind == "STRD" || kind == "NUMD";
    auto key = [&](const Hit& hit) {
      const std::string* value = AttributeOf(store, hit.id, name);
      return value ? *value : std::string();
    };
    auto less = [&](const Hit& a, const Hit& b) {
      std::string ka = key(a), kb = key(b);
      if (numeric) return std::strtod(ka.c_str(), nullptr) < std::strtod(kb.c_str(), nullptr);
      return ka < kb;
    };
    std::stable_sort(hits.begin(), hits.end(), [&](const Hit& a, const Hit& b) {
      return descending ? less(b, a) : less(a, b);
    });
  } else {
    std::sort(hits.begin(), hits.end(), byIdAscending);
  }
}

}  // namespace

extern "C" {

int* est_db_search(ESTDB* db, ESTCOND* cond, int* nump, CBMAP*) {
  if (nump) *nump = 0;
  if (!db || !cond || !nump) {
    if (db) db->ecode = kErrorInvalid;
    return nullptr;
  }
  const DocumentStore& store = *db->store;
  std::vector<AttributeExpression> expressions;
  for (const auto& expression : cond->attrs.items) expressions.emplace_back(expression);
  const Phrase phrase(cond->phrase.value_or(""));

  std::vector<Hit> hits;
  for (const auto& [id, stored] : store.documents()) {
    bool matches = std::all_of(expressions.begin(), expressions.end(),
                               [&](const AttributeExpression& e) { return e.Matches(stored.attrs); });
    if (!matches) continue;
    int score = 0;
    if (!phrase.Empty()) {
      ESTDOC doc;
      if (!store.Read(id, doc)) continue;
      auto found = phrase.Match(SearchableText(doc));
      if (!found) continue;
      score = *found;
    }
    hits.push_back(Hit{id, score});
  }
  Order(hits, *cond, !phrase.Empty(), store);

  if (cond->distinct) {
    std::set<std::string> seen;
    std::erase_if(hits, [&](const Hit& hit) {
      const std::string* value = AttributeOf(store, hit.id, *cond->distinct);
      return !seen.insert(value ? *value : std::string()).second;
    });
  }
  size_t first = std::min(hits.size(), static_cast<size_t>(cond->skip));
  size_t count = hits.size() - first;
  if (cond->max >= 0) count = std::min(count, static_cast<size_t>(cond->max));

  int* ids = static_cast<int*>(std::malloc(sizeof(int) * (count > 0 ? count : 1)));
  if (!ids) {
    db->ecode = kErrorMisc;
    return nullptr;
  }
  cond->scores.clear();
  for (size_t i = 0; i < count; ++i) {
    ids[i] = hits[first + i].id;
    cond->scores.push_back(hits[first + i].score);
  }
  *nump = static_cast<int>(count);
  return ids;
}

int* est_db_search_meta(ESTDB**, int, ESTCOND*, int* nump, CBMAP*) {
  if (nump) *nump = 0;
  return nullptr;
}

int est_db_scan_doc(ESTDB*, ESTDOC* doc, ESTCOND* cond) {
  if (!doc || !cond || !cond->phrase) return 0;
  const Phrase phrase(*cond->phrase);
  return !phrase.Empty() && phrase.Match(SearchableText(*doc)).has_value();
}

}  // extern "C"
