// The index database object against a fake full-text library put in through the module loader: the order of
// loading, binding, closing and freeing, the two open attempts, the informer's prefix rules, and the release of
// documents and conditions when the library fails or throws.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "estraier_db.h"

namespace {
// What the fake library and loader saw, in order, and how they should behave. Reset by every test.
struct FakeLibrary {
  std::vector<std::string> calls;
  std::vector<std::string> lookups;
  std::set<std::string> missingNames;
  bool searchLibraryLoads = true;
  bool runtimeLibraryLoads = true;
  std::vector<int> failingOpenModes;  // est_db_open gives null for these modes
  bool closeThrows = false;
  bool docNewFails = false;
  bool addAttrThrows = false;
  bool searchThrows = false;
  EstInformerFunc informer = nullptr;
  void* informerOpaque = nullptr;
};
FakeLibrary fake;

char searchModule;   // addresses that stand for the two modules
char runtimeModule;
char databaseObject;
char documentObject;
char conditionObject;
int searchResult[2] = {7, 9};

ESTDB* FakeDbOpen(const char* name, int mode, int* ecp) {
  fake.calls.push_back(std::string("est_db_open ") + name + " " + std::to_string(mode));
  for (int failing : fake.failingOpenModes) {
    if (failing == mode) {
      *ecp = 5;
      return nullptr;
    }
  }
  return reinterpret_cast<ESTDB*>(&databaseObject);
}
int FakeDbClose(ESTDB*, int*) {
  fake.calls.push_back("est_db_close");
  if (fake.closeThrows) throw std::runtime_error("close");
  return 1;
}
void FakeSetInformer(ESTDB*, EstInformerFunc func, void* opaque) {
  fake.calls.push_back("est_db_set_informer");
  fake.informer = func;
  fake.informerOpaque = opaque;
}
ESTDOC* FakeDocNew() {
  fake.calls.push_back("est_doc_new");
  return fake.docNewFails ? nullptr : reinterpret_cast<ESTDOC*>(&documentObject);
}
void FakeDocDelete(ESTDOC*) { fake.calls.push_back("est_doc_delete"); }
void FakeDocAddAttr(ESTDOC*, const char* name, const char*) {
  fake.calls.push_back(std::string("est_doc_add_attr ") + name);
  if (fake.addAttrThrows) throw std::runtime_error("attr");
}
void FakeDocAddText(ESTDOC*, const char*) { fake.calls.push_back("est_doc_add_text"); }
void FakeDocAddHiddenText(ESTDOC*, const char*) { fake.calls.push_back("est_doc_add_hidden_text"); }
int FakePutDoc(ESTDB*, ESTDOC*, int options) {
  fake.calls.push_back("est_db_put_doc " + std::to_string(options));
  return 1;
}
ESTCOND* FakeCondNew() {
  fake.calls.push_back("est_cond_new");
  return reinterpret_cast<ESTCOND*>(&conditionObject);
}
void FakeCondDelete(ESTCOND*) { fake.calls.push_back("est_cond_delete"); }
void FakeCondAddAttr(ESTCOND*, const char* expression) {
  fake.calls.push_back(std::string("est_cond_add_attr ") + expression);
}
int* FakeSearch(ESTDB*, ESTCOND*, int* count, CBMAP*) {
  fake.calls.push_back("est_db_search");
  if (fake.searchThrows) throw std::runtime_error("search");
  *count = 2;
  return searchResult;
}
void FakeFree(void* memory) {
  fake.calls.push_back(memory == searchResult ? "free search result" : "free other");
}
void Unused() {}

const std::map<std::string, void*>& Fakes() {
  static const std::map<std::string, void*> fakes{
      {"est_db_open", reinterpret_cast<void*>(&FakeDbOpen)},
      {"est_db_close", reinterpret_cast<void*>(&FakeDbClose)},
      {"est_db_set_informer", reinterpret_cast<void*>(&FakeSetInformer)},
      {"est_doc_new", reinterpret_cast<void*>(&FakeDocNew)},
      {"est_doc_delete", reinterpret_cast<void*>(&FakeDocDelete)},
      {"est_doc_add_attr", reinterpret_cast<void*>(&FakeDocAddAttr)},
      {"est_doc_add_text", reinterpret_cast<void*>(&FakeDocAddText)},
      {"est_doc_add_hidden_text", reinterpret_cast<void*>(&FakeDocAddHiddenText)},
      {"est_db_put_doc", reinterpret_cast<void*>(&FakePutDoc)},
      {"est_cond_new", reinterpret_cast<void*>(&FakeCondNew)},
      {"est_cond_delete", reinterpret_cast<void*>(&FakeCondDelete)},
      {"est_cond_add_attr", reinterpret_cast<void*>(&FakeCondAddAttr)},
      {"est_db_search", reinterpret_cast<void*>(&FakeSearch)},
  };
  return fakes;
}

const CModuleLoader kFakeLoader{
    [] { return fake.searchLibraryLoads ? static_cast<ModuleHandle>(&searchModule) : nullptr; },
    [] { return fake.runtimeLibraryLoads ? static_cast<ModuleHandle>(&runtimeModule) : nullptr; },
    [](ModuleHandle module, const char* name) -> void* {
      fake.lookups.push_back(name);
      if (fake.missingNames.count(name)) return nullptr;
      if (module == &runtimeModule) return std::string(name) == "free" ? reinterpret_cast<void*>(&FakeFree) : nullptr;
      auto found = Fakes().find(name);
      return found != Fakes().end() ? found->second : reinterpret_cast<void*>(&Unused);
    },
    [](ModuleHandle module) {
      fake.calls.push_back(module == &searchModule ? "free search library" : "free runtime library");
    },
};

class RecordingObserver : public IInformerObserver {
 public:
  void OnInform(const char* message, int stage) override {
    seen.push_back(std::to_string(stage) + " " + message);
  }
  std::vector<std::string> seen;
};

class EstraierDbFake : public ::testing::Test {
 protected:
  void SetUp() override { fake = FakeLibrary{}; }
};

using Calls = std::vector<std::string>;

TEST_F(EstraierDbFake, BindsAllNamesInOrderThenFree) {
  { CEstraierDb db(kFakeLoader); EXPECT_TRUE(db.IsLoaded()); }
  ASSERT_EQ(fake.lookups.size(), 154u);
  EXPECT_EQ(fake.lookups.front(), "est_doc_new");
  EXPECT_EQ(fake.lookups[152], "est_vector_cosine");
  EXPECT_EQ(fake.lookups.back(), "free");
}

// Each case: what fails, and the modules that are freed at the end (only those that were loaded).
TEST_F(EstraierDbFake, IncompleteBindingLeavesTheFlagFalse) {
  struct Case {
    const char* what;
    void (*arrange)();
    Calls freed;
  };
  const Case cases[] = {
      {"last entry point missing", [] { fake.missingNames = {"est_vector_cosine"}; },
       {"free search library", "free runtime library"}},
      {"free missing", [] { fake.missingNames = {"free"}; }, {"free search library", "free runtime library"}},
      {"no full-text library", [] { fake.searchLibraryLoads = false; }, {"free runtime library"}},
      {"no run-time library", [] { fake.runtimeLibraryLoads = false; }, {"free search library"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    fake = FakeLibrary{};
    c.arrange();
    {
      CEstraierDb db(kFakeLoader);
      EXPECT_FALSE(db.IsLoaded());
      // Nothing goes through the incomplete table.
      EXPECT_FALSE(db.Open("index"));
      EXPECT_FALSE(db.PutMessage("p", "Subject: s\r\n\r\nbody"));
      EXPECT_EQ(db.SearchFolder("Inbox", nullptr), nullptr);
      EXPECT_EQ(db.GetDocNum(), 0);
    }
    EXPECT_EQ(fake.calls, c.freed);
  }
  // The lookup stops at the first missing name.
  fake = FakeLibrary{};
  fake.missingNames = {"est_doc_delete"};
  { CEstraierDb db(kFakeLoader); }
  EXPECT_EQ(fake.lookups, (Calls{"est_doc_new", "est_doc_new_from_draft", "est_doc_delete"}));
}

TEST_F(EstraierDbFake, UnloadClosesAnOpenDatabaseBeforeFreeingTheLibraries) {
  {
    CEstraierDb db(kFakeLoader);
    ASSERT_TRUE(db.Open("index"));
  }
  EXPECT_EQ(fake.calls, (Calls{"est_db_open index 2097158", "est_db_close", "free search library",
                               "free runtime library"}));

  fake = FakeLibrary{};
  { CEstraierDb db(kFakeLoader); }
  EXPECT_EQ(fake.calls, (Calls{"free search library", "free runtime library"}));

  // A close that throws does not keep the libraries loaded, nor escape the destructor.
  fake = FakeLibrary{};
  fake.closeThrows = true;
  {
    CEstraierDb db(kFakeLoader);
    ASSERT_TRUE(db.Open("index"));
  }
  EXPECT_EQ(fake.calls, (Calls{"est_db_open index 2097158", "est_db_close", "free search library",
                               "free runtime library"}));
}

TEST_F(EstraierDbFake, OpenTriesAPlainWriterSecondAndOpensOnce) {
  fake.failingOpenModes = {ESTDBWRITER | ESTDBCREAT | ESTDBLARGE};
  CEstraierDb db(kFakeLoader);
  EXPECT_TRUE(db.Open("index"));
  EXPECT_TRUE(db.Open("index"));
  EXPECT_TRUE(db.Close());
  EXPECT_TRUE(db.Close());
  EXPECT_EQ(fake.calls, (Calls{"est_db_open index 2097158", "est_db_open index 2", "est_db_close"}));

  fake.calls.clear();
  fake.failingOpenModes = {ESTDBWRITER | ESTDBCREAT | ESTDBLARGE, ESTDBWRITER};
  EXPECT_FALSE(db.Open("index"));
  EXPECT_FALSE(db.IsOpen());
  EXPECT_EQ(fake.calls.size(), 2u);
}

TEST_F(EstraierDbFake, InformerMatchesFlushingAndClosingPrefixesIgnoringCase) {
  CEstraierDb db(kFakeLoader);
  RecordingObserver observer;
  db.SetInformer(&observer);  // closed: nothing is installed
  EXPECT_EQ(fake.informer, nullptr);
  ASSERT_TRUE(db.Open("index"));
  db.SetInformer(&observer);
  ASSERT_NE(fake.informer, nullptr);
  for (const char* message : {"status: name=index dnum=0", "Flushing index words: dnum=1", "flush", "flushin",
                              "closing: name=index", "CLOSING", "closin", "", "cleaning dispensable keys",
                              " flushing"}) {
    fake.informer(message, fake.informerOpaque);
  }
  EXPECT_EQ(observer.seen, (Calls{"0 Flushing index words: dnum=1", "1 closing: name=index", "1 CLOSING"}));

  // Without an observer the messages go nowhere.
  observer.seen.clear();
  db.SetInformer(nullptr);
  fake.informer("flushing", fake.informerOpaque);
  EXPECT_TRUE(observer.seen.empty());
}

TEST_F(EstraierDbFake, PutMessageCallOrderAndRefusals) {
  CEstraierDb db(kFakeLoader);
  ASSERT_TRUE(db.Open("index"));
  fake.calls.clear();
  EXPECT_TRUE(db.PutMessage("Inbox\\1", "Subject: s\r\nDate: d\r\nX-Other: o\r\n\r\nbody"));
  EXPECT_EQ(fake.calls, (Calls{"est_doc_new", "est_doc_add_attr @uri", "est_doc_add_attr @type",
                               "est_doc_add_attr @size", "est_doc_add_attr @cdate", "est_doc_add_attr @mdate",
                               "est_doc_add_attr @title", "est_doc_add_hidden_text", "est_doc_add_text",
                               "est_db_put_doc 1", "est_doc_delete"}));

  // No document from the library: nothing else is called and the result is false.
  fake.calls.clear();
  fake.docNewFails = true;
  EXPECT_FALSE(db.PutMessage("Inbox\\1", "Subject: s\r\n\r\nbody"));
  EXPECT_EQ(fake.calls, (Calls{"est_doc_new"}));

  // An exception on the way out still deletes the document.
  fake.calls.clear();
  fake.docNewFails = false;
  fake.addAttrThrows = true;
  EXPECT_THROW(db.PutMessage("Inbox\\1", "Subject: s\r\n\r\nbody"), std::runtime_error);
  EXPECT_EQ(fake.calls, (Calls{"est_doc_new", "est_doc_add_attr @uri", "est_doc_delete"}));
}

TEST_F(EstraierDbFake, SearchFolderExpressionAndConditionRelease) {
  CEstraierDb db(kFakeLoader);
  int count = -1;
  EXPECT_EQ(db.SearchFolder("Inbox", &count), nullptr);  // closed
  EXPECT_EQ(count, 0);
  ASSERT_TRUE(db.Open("index"));
  fake.calls.clear();

  int* ids = db.SearchFolder("Inbox", &count);
  EXPECT_EQ(count, 2);
  db.FreeMemory(ids);
  EXPECT_EQ(fake.calls, (Calls{"est_cond_new", "est_cond_add_attr @uri ISTRBW cvdx:Inbox", "est_db_search",
                               "est_cond_delete", "free search result"}));

  // An empty folder would match the whole index: nothing is asked of the library.
  fake.calls.clear();
  count = -1;
  EXPECT_EQ(db.SearchFolder("", &count), nullptr);
  EXPECT_EQ(count, 0);
  EXPECT_TRUE(fake.calls.empty());

  fake.searchThrows = true;
  EXPECT_THROW(db.SearchFolder("Inbox", &count), std::runtime_error);
  EXPECT_EQ(fake.calls.back(), "est_cond_delete");
}
}  // namespace
