// Collecting hits through the library table, against a fake library put into the table's entry points: the
// condition that reaches the library, the skipping of ids whose documents are gone, the second search that fills
// the places they took, and the release of every condition and result.
#include "index_search.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

using corvidex_search::SearchHit;
using corvidex_search::SearchIndex;
using corvidex_search::SearchQuery;

// What the fake library holds and saw. Reset by every test.
struct FakeLibrary {
  std::vector<int> resultIds;                                  // the search's answer, before max
  std::map<int, std::map<std::string, std::string>> documents;  // live documents; other ids read as gone
  bool searchFails = false;
  std::vector<std::string> calls;
  int conditionsAlive = 0;
  int allocationsAlive = 0;
};
FakeLibrary fake;
char conditionObject;
char databaseObject;
ESTDB* const kDatabase = reinterpret_cast<ESTDB*>(&databaseObject);

void* Allocate(std::size_t size) {
  ++fake.allocationsAlive;
  return std::malloc(size);
}
void FakeFree(void* memory) {
  if (!memory) return;
  --fake.allocationsAlive;
  std::free(memory);
}
ESTCOND* FakeCondNew() {
  ++fake.conditionsAlive;
  return reinterpret_cast<ESTCOND*>(&conditionObject);
}
void FakeCondDelete(ESTCOND*) { --fake.conditionsAlive; }
void FakeSetPhrase(ESTCOND*, const char* phrase) { fake.calls.push_back(std::string("phrase ") + phrase); }
void FakeAddAttr(ESTCOND*, const char* expression) { fake.calls.push_back(std::string("attr ") + expression); }
int fakeMax = -1;
void FakeSetMax(ESTCOND*, int max) {
  fakeMax = max;
  fake.calls.push_back("max " + std::to_string(max));
}
int* FakeSearch(ESTDB* db, ESTCOND*, int* count, CBMAP*) {
  EXPECT_EQ(db, kDatabase);
  *count = 0;
  if (fake.searchFails) return nullptr;
  std::size_t n = fake.resultIds.size();
  if (fakeMax >= 0 && static_cast<std::size_t>(fakeMax) < n) n = static_cast<std::size_t>(fakeMax);
  auto* ids = static_cast<int*>(Allocate(sizeof(int) * (n ? n : 1)));
  for (std::size_t i = 0; i < n; ++i) ids[i] = fake.resultIds[i];
  *count = static_cast<int>(n);
  return ids;
}
char* FakeGetDocAttr(ESTDB*, int id, const char* name) {
  const auto document = fake.documents.find(id);
  if (document == fake.documents.end()) return nullptr;
  const auto value = document->second.find(name);
  if (value == document->second.end()) return nullptr;
  char* copy = static_cast<char*>(Allocate(value->second.size() + 1));
  std::memcpy(copy, value->second.c_str(), value->second.size() + 1);
  return copy;
}

class IndexSearch : public ::testing::Test {
 protected:
  void SetUp() override {
    fake = FakeLibrary{};
    fakeMax = -1;
    api.est_cond_new = FakeCondNew;
    api.est_cond_delete = FakeCondDelete;
    api.est_cond_set_phrase = FakeSetPhrase;
    api.est_cond_add_attr = FakeAddAttr;
    api.est_cond_set_max = FakeSetMax;
    api.est_db_search = FakeSearch;
    api.est_db_get_doc_attr = FakeGetDocAttr;
    api.free = FakeFree;
  }
  void TearDown() override {
    EXPECT_EQ(fake.conditionsAlive, 0) << "a condition was not deleted";
    EXPECT_EQ(fake.allocationsAlive, 0) << "library memory was not released with its free";
  }
  static void AddDocument(int id, const std::string& uri) {
    fake.documents[id] = {{"@uri", uri}, {"@cdate", "d" + std::to_string(id)}, {"@author", "a"}, {"@title", "t"}};
  }
  static std::vector<int> Ids(const std::vector<SearchHit>& hits) {
    std::vector<int> ids;
    for (const SearchHit& hit : hits) ids.push_back(hit.id);
    return ids;
  }

  CEstraierApi api;
};

TEST_F(IndexSearch, HandsTheConditionOverAndReadsTheHitsInTheLibrarysOrder) {
  fake.resultIds = {5, 2};
  AddDocument(5, "cvdx:five");
  fake.documents[2] = {{"@uri", "cvdx:two"}};  // no date, sender or subject
  const auto hits = SearchIndex(api, kDatabase, SearchQuery{"見積 会議", {"@author ISTRINC a", "@title STRINC t"}, 10});
  ASSERT_TRUE(hits);
  EXPECT_EQ(fake.calls, (std::vector<std::string>{"phrase 見積 会議", "attr @author ISTRINC a", "attr @title STRINC t",
                                                  "max 10"}));
  ASSERT_EQ(hits->size(), 2u);
  EXPECT_EQ((*hits)[0].id, 5);
  EXPECT_EQ((*hits)[0].uri, "cvdx:five");
  EXPECT_EQ((*hits)[0].date, "d5");
  EXPECT_EQ((*hits)[0].from, "a");
  EXPECT_EQ((*hits)[0].subject, "t");
  EXPECT_EQ((*hits)[1].uri, "cvdx:two");
  EXPECT_EQ((*hits)[1].date, "");
  EXPECT_EQ((*hits)[1].subject, "");
}

TEST_F(IndexSearch, WithoutWordsSetsNoPhrase) {
  fake.resultIds = {1};
  AddDocument(1, "cvdx:one");
  ASSERT_TRUE(SearchIndex(api, kDatabase, SearchQuery{"", {"@uri ISTRBW cvdx:"}, 3}));
  EXPECT_EQ(fake.calls, (std::vector<std::string>{"attr @uri ISTRBW cvdx:", "max 3"}));
}

TEST_F(IndexSearch, SkipsGoneDocumentsAndSearchesAgainForThePlacesTheyTook) {
  fake.resultIds = {1, 2, 3, 4, 5, 6};  // 1 and 3 are gone
  for (int id : {2, 4, 5, 6}) AddDocument(id, "cvdx:" + std::to_string(id));
  const auto hits = SearchIndex(api, kDatabase, SearchQuery{"w", {}, 3});
  ASSERT_TRUE(hits);
  EXPECT_EQ(Ids(*hits), (std::vector<int>{2, 4, 5}));
  EXPECT_EQ(fakeMax, 5);  // room for the three wanted and the two gone
}

TEST_F(IndexSearch, StopsWhenTheLibraryHasNoMore) {
  fake.resultIds = {1, 2, 3};  // only 2 is live
  AddDocument(2, "cvdx:2");
  const auto hits = SearchIndex(api, kDatabase, SearchQuery{"w", {}, 3});
  ASSERT_TRUE(hits);
  EXPECT_EQ(Ids(*hits), std::vector<int>{2});
  EXPECT_EQ(fakeMax, 5);  // one more search, with room for the two missing, found fewer: done
}

TEST_F(IndexSearch, AllGoneGivesNoHits) {
  fake.resultIds = {7, 8};
  const auto hits = SearchIndex(api, kDatabase, SearchQuery{"w", {}, 5});
  ASSERT_TRUE(hits);
  EXPECT_TRUE(hits->empty());
}

TEST_F(IndexSearch, LibraryErrorGivesNothing) {
  fake.searchFails = true;
  EXPECT_FALSE(SearchIndex(api, kDatabase, SearchQuery{"w", {}, 5}));
}

}  // namespace
