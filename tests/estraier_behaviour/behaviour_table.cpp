// The behaviour of the full-text library that the plug-in relies on, as one table of cases. It runs against any
// build of the library (ESTRAIER_LIBRARY), so it uses only the library's published entry points and checks only
// what the library is known to do. Texts handed to the library are UTF-8.
#include <cctype>
#include <cstdio>
#include <cstring>

#include "behaviour_case.h"

#include <sys/stat.h>
#if defined(_WIN32)
#include <direct.h>
#define MAKE_DIRECTORY(path) _mkdir(path)
#else
#define MAKE_DIRECTORY(path) mkdir(path, 0755)
#endif

namespace {

#if defined(_WIN32)
constexpr const char* kSeparator = "\\";
#else
constexpr const char* kSeparator = "/";
#endif

bool DirectoryExists(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 && (info.st_mode & S_IFDIR);
}

// Opens a database of the case's scratch folder as the plug-in does; checks that it opened.
ESTDB* OpenCreating(CaseContext& ctx, const std::string& name) {
  int ecode = -1;
  ESTDB* db = ctx.lib.est_db_open(ctx.Path(name).c_str(), kCreatingWriter, &ecode);
  CASE_CHECK(ctx, db != nullptr);
  return db;
}

// --- binding -------------------------------------------------------------------------------------------------------

void ExportsEveryEntryPoint(CaseContext& ctx) {
  std::string missing;
  for (const auto& name : ctx.lib.missingNames) missing += " " + name;
  CASE_CHECK_EQ(ctx, missing, std::string());
}

// --- opening and closing ---------------------------------------------------------------------------------------------

void OpenCreatesTheDatabaseDirectory(CaseContext& ctx) {
  int ecode = -1;
  ESTDB* db = ctx.lib.est_db_open(ctx.Path("index").c_str(), kCreatingWriter, &ecode);
  Database database(ctx.lib, db);
  if (!CASE_CHECK(ctx, db != nullptr)) return;
  CASE_CHECK_EQ(ctx, ecode, 0);
  CASE_CHECK(ctx, DirectoryExists(ctx.Path("index")));
  CASE_CHECK_EQ(ctx, ctx.lib.est_db_doc_num(db), 0);
  int closeCode = -1;
  CASE_CHECK(ctx, database.Close(&closeCode) != 0);
  CASE_CHECK_EQ(ctx, closeCode, 0);
  // Once created, the database opens as a plain writer too (the plug-in's second attempt).
  Database again(ctx.lib, ctx.lib.est_db_open(ctx.Path("index").c_str(), ESTDBWRITER, &ecode));
  CASE_CHECK(ctx, again.get() != nullptr);
}

void OpenFailsWithIoErrorWhenTheParentIsMissing(CaseContext& ctx) {
  const std::string path = ctx.Path("missing") + kSeparator + "index";
  int ecode = -1;
  ESTDB* db = ctx.lib.est_db_open(path.c_str(), kCreatingWriter, &ecode);
  Database database(ctx.lib, db);
  CASE_CHECK(ctx, db == nullptr);
  CASE_CHECK_EQ(ctx, ecode, 5);
  CASE_CHECK(ctx, !DirectoryExists(ctx.Path("missing")));
}

void PlainWriterOpenOfAnEmptyDirectoryFailsWithIoError(CaseContext& ctx) {
  const std::string path = ctx.Path("empty");
  MAKE_DIRECTORY(path.c_str());
  int ecode = -1;
  ESTDB* db = ctx.lib.est_db_open(path.c_str(), ESTDBWRITER, &ecode);
  Database database(ctx.lib, db);
  CASE_CHECK(ctx, db == nullptr);
  CASE_CHECK_EQ(ctx, ecode, 5);
}

void CloseKeepsTheDocumentsForTheNextOpen(CaseContext& ctx) {
  {
    Database db(ctx.lib, OpenCreating(ctx, "index"));
    if (!db) return;
    PutDocument(ctx, db.get(), {"cvdx:Inbox:1", {{"@title", "first"}}, {"one two three"}, {}});
    PutDocument(ctx, db.get(), {"cvdx:Inbox:2", {}, {"four five"}, {}});
    ctx.lib.est_db_flush(db.get(), -1);
    CASE_CHECK(ctx, db.Close() != 0);
  }
  Database db(ctx.lib, OpenCreating(ctx, "index"));
  if (!db) return;
  CASE_CHECK_EQ(ctx, ctx.lib.est_db_doc_num(db.get()), 2);
  CASE_CHECK(ctx, ctx.lib.est_db_word_num(db.get()) > 0);
  CASE_CHECK_EQ(ctx, SearchUris(ctx, db.get(), {"@uri ISTRBW cvdx:"}),
                (std::set<std::string>{"cvdx:Inbox:1", "cvdx:Inbox:2"}));
  std::string title;
  CASE_CHECK(ctx, StoredAttribute(ctx, db.get(), ctx.lib.est_db_uri_to_id(db.get(), "cvdx:Inbox:1"), "@title", title));
  CASE_CHECK_EQ(ctx, title, std::string("first"));
}

// --- storing and removing ------------------------------------------------------------------------------------------

void PutRefusesADocumentWithoutUri(CaseContext& ctx) {
  Database db(ctx.lib, OpenCreating(ctx, "index"));
  if (!db) return;
  Document doc(ctx.lib, BuildDocument(ctx.lib, {"", {{"@title", "no uri"}}, {"some text"}, {}}));
  CASE_CHECK_EQ(ctx, ctx.lib.est_db_put_doc(db.get(), doc.get(), ESTPDCLEAN), 0);
  CASE_CHECK_EQ(ctx, ctx.lib.est_db_doc_num(db.get()), 0);
}

void PutOfAStoredUriReplacesTheDocumentUnderAHigherId(CaseContext& ctx) {
  Database db(ctx.lib, OpenCreating(ctx, "index"));
  if (!db) return;
  const int first = PutDocument(ctx, db.get(), {"cvdx:Inbox:1", {{"@title", "old"}}, {"old text"}, {}});
  PutDocument(ctx, db.get(), {"cvdx:Inbox:2", {}, {"other"}, {}});
  const int second = PutDocument(ctx, db.get(), {"cvdx:Inbox:1", {{"@title", "new"}}, {"new text"}, {}});
  CASE_CHECK(ctx, second > first);
  CASE_CHECK_EQ(ctx, ctx.lib.est_db_doc_num(db.get()), 2);
  std::string value;
  CASE_CHECK(ctx, !StoredAttribute(ctx, db.get(), first, "@uri", value));
  CASE_CHECK(ctx, StoredAttribute(ctx, db.get(), second, "@title", value));
  CASE_CHECK_EQ(ctx, value, std::string("new"));
  CASE_CHECK_EQ(ctx, ctx.lib.est_db_out_doc(db.get(), first, ESTODCLEAN), 0);
  CASE_CHECK_EQ(ctx, ctx.lib.est_db_error(db.get()), 6);
  CASE_CHECK_EQ(ctx, SearchUris(ctx, db.get(), {"@uri STREQ cvdx:Inbox:1"}), (std::set<std::string>{"cvdx:Inbox:1"}));
}

void IdsArePositiveAndIncreaseWithEveryPut(CaseContext& ctx) {
  int previous = 0;
  for (int round = 0; round < 2; ++round) {  // also across a close and a new open
    Database db(ctx.lib, OpenCreating(ctx, "index"));
    if (!db) return;
    for (int i = 0; i < 4; ++i) {
      const int id = PutDocument(ctx, db.get(), {"cvdx:F:" + std::to_string(round * 10 + i), {}, {"text"}, {}});
      CASE_CHECK(ctx, id > previous);
      previous = id;
    }
    // A removed id is not handed out again.
    CASE_CHECK(ctx, ctx.lib.est_db_out_doc(db.get(), previous, ESTODCLEAN) != 0);
    CASE_CHECK(ctx, db.Close() != 0);
  }
}

void OutDocRemovesADocumentOnce(CaseContext& ctx) {
  Database db(ctx.lib, OpenCreating(ctx, "index"));
  if (!db) return;
  const int id = PutDocument(ctx, db.get(), {"cvdx:Inbox:1", {}, {"text"}, {}});
  PutDocument(ctx, db.get(), {"cvdx:Inbox:2", {}, {"text"}, {}});
  CASE_CHECK(ctx, ctx.lib.est_db_out_doc(db.get(), id, ESTODCLEAN) != 0);
  CASE_CHECK_EQ(ctx, ctx.lib.est_db_doc_num(db.get()), 1);
  std::string value;
  CASE_CHECK(ctx, !StoredAttribute(ctx, db.get(), id, "@uri", value));
  CASE_CHECK_EQ(ctx, ctx.lib.est_db_out_doc(db.get(), id, ESTODCLEAN), 0);
  CASE_CHECK_EQ(ctx, ctx.lib.est_db_error(db.get()), 6);
  CASE_CHECK_EQ(ctx, ctx.lib.est_db_out_doc(db.get(), 987654, ESTODCLEAN), 0);
  CASE_CHECK_EQ(ctx, ctx.lib.est_db_error(db.get()), 6);
  CASE_CHECK_EQ(ctx, SearchUris(ctx, db.get(), {"@uri ISTRBW cvdx:"}), (std::set<std::string>{"cvdx:Inbox:2"}));
}

void GetDocAttrReturnsAFreshCopyOrNull(CaseContext& ctx) {
  Database db(ctx.lib, OpenCreating(ctx, "index"));
  if (!db) return;
  const int id = PutDocument(ctx, db.get(), {"cvdx:Inbox:1", {}, {"text"}, {}});
  LibraryText first(ctx.lib, ctx.lib.est_db_get_doc_attr(db.get(), id, "@uri"));
  LibraryText second(ctx.lib, ctx.lib.est_db_get_doc_attr(db.get(), id, "@uri"));
  CASE_CHECK(ctx, first.get() && second.get() && first.get() != second.get());
  CASE_CHECK_EQ(ctx, first.str(), std::string("cvdx:Inbox:1"));
  LibraryText missingName(ctx.lib, ctx.lib.est_db_get_doc_attr(db.get(), id, "@nothing"));
  CASE_CHECK(ctx, missingName.get() == nullptr);
  LibraryText unknownId(ctx.lib, ctx.lib.est_db_get_doc_attr(db.get(), id + 1000, "@uri"));
  CASE_CHECK(ctx, unknownId.get() == nullptr);
}

void StoredDocumentsCarryIdAndDigest(CaseContext& ctx) {
  Database db(ctx.lib, OpenCreating(ctx, "index"));
  if (!db) return;
  const int a = PutDocument(ctx, db.get(), {"cvdx:a", {}, {"Hello world"}, {}});
  const int b = PutDocument(ctx, db.get(), {"cvdx:b", {}, {"Hello world"}, {}});
  const int c = PutDocument(ctx, db.get(), {"cvdx:c", {}, {"Something else"}, {}});
  std::string id, digestA, digestB, digestC;
  CASE_CHECK(ctx, StoredAttribute(ctx, db.get(), a, "@id", id));
  CASE_CHECK_EQ(ctx, id, std::to_string(a));
  CASE_CHECK(ctx, StoredAttribute(ctx, db.get(), a, "@digest", digestA));
  StoredAttribute(ctx, db.get(), b, "@digest", digestB);
  StoredAttribute(ctx, db.get(), c, "@digest", digestC);
  // The MD5 of the one text, in hexadecimal.
  CASE_CHECK_EQ(ctx, digestA, std::string("3e25960a79dbc69b674cd4ec67a72c62"));
  CASE_CHECK_EQ(ctx, digestB, digestA);
  CASE_CHECK(ctx, digestC != digestA && digestC.size() == 32);
}

// --- counting and the informer ---------------------------------------------------------------------------------------

void WordsAreCountedAfterAFlushDocumentsAtOnce(CaseContext& ctx) {
  Database db(ctx.lib, OpenCreating(ctx, "index"));
  if (!db) return;
  PutDocument(ctx, db.get(), {"cvdx:1", {}, {"apple banana cherry"}, {}});
  PutDocument(ctx, db.get(), {"cvdx:2", {}, {"damson elderberry"}, {}});
  CASE_CHECK_EQ(ctx, ctx.lib.est_db_doc_num(db.get()), 2);
  CASE_CHECK_EQ(ctx, ctx.lib.est_db_word_num(db.get()), 0);
  ctx.lib.est_db_flush(db.get(), -1);
  const int afterFirstFlush = ctx.lib.est_db_word_num(db.get());
  CASE_CHECK(ctx, afterFirstFlush > 0);
  PutDocument(ctx, db.get(), {"cvdx:3", {}, {"fig grape honeydew kiwi lemon mango"}, {}});
  CASE_CHECK_EQ(ctx, ctx.lib.est_db_doc_num(db.get()), 3);
  CASE_CHECK_EQ(ctx, ctx.lib.est_db_word_num(db.get()), afterFirstFlush);
  ctx.lib.est_db_flush(db.get(), -1);
  CASE_CHECK(ctx, ctx.lib.est_db_word_num(db.get()) > afterFirstFlush);
}

void ESTRAIER_CALL RecordInformation(const char* message, void* opaque) {
  static_cast<std::vector<std::string>*>(opaque)->push_back(message ? message : "(null)");
}

// Splits "<stage>: name=<db> dnum=<n> wnum=<n> fsiz=<n> crnum=<n> csiz=<n> dknum=<n>"; false if not of that form.
bool ParseInformation(const std::string& message, std::string& stage, std::string& name, long long& dnum) {
  size_t colon = message.find(": name=");
  if (colon == std::string::npos) return false;
  stage = message.substr(0, colon);
  size_t fields = message.find(" dnum=", colon);
  if (fields == std::string::npos) return false;
  name = message.substr(colon + 7, fields - colon - 7);
  long long wnum, fsiz, crnum, csiz, dknum;
  char rest = 0;
  int got = std::sscanf(message.c_str() + fields, " dnum=%lld wnum=%lld fsiz=%lld crnum=%lld csiz=%lld dknum=%lld%c",
                        &dnum, &wnum, &fsiz, &crnum, &csiz, &dknum, &rest);
  return got == 6;
}

void InformerReportsStatusFlushingCleaningAndClosing(CaseContext& ctx) {
  std::vector<std::string> messages;
  const std::string path = ctx.Path("index");
  Database db(ctx.lib, OpenCreating(ctx, "index"));
  if (!db) return;
  PutDocument(ctx, db.get(), {"cvdx:1", {}, {"one"}, {}});
  ctx.lib.est_db_set_informer(db.get(), RecordInformation, &messages);
  if (!CASE_CHECK(ctx, messages.size() == 1)) return;
  std::string stage, name;
  long long dnum = -1;
  CASE_CHECK(ctx, ParseInformation(messages[0], stage, name, dnum));
  CASE_CHECK_EQ(ctx, stage, std::string("status"));
  CASE_CHECK_EQ(ctx, name, path);
  CASE_CHECK_EQ(ctx, dnum, 1LL);

  const int removed = PutDocument(ctx, db.get(), {"cvdx:2", {}, {"two words"}, {}});
  PutDocument(ctx, db.get(), {"cvdx:3", {}, {"three more words"}, {}});
  ctx.lib.est_db_out_doc(db.get(), removed, ESTODCLEAN);
  messages.clear();
  ctx.lib.est_db_flush(db.get(), -1);
  std::set<std::string> flushStages;
  for (const auto& message : messages) {
    CASE_CHECK(ctx, ParseInformation(message, stage, name, dnum));
    flushStages.insert(stage);
  }
  CASE_CHECK(ctx, flushStages.count("flushing index words") == 1);
  CASE_CHECK(ctx, flushStages.count("cleaning dispensable keys") == 1);

  messages.clear();
  CASE_CHECK(ctx, db.Close() != 0);
  bool closing = false;
  for (const auto& message : messages) {
    if (ParseInformation(message, stage, name, dnum) && stage == "closing") closing = true;
  }
  CASE_CHECK(ctx, closing);
}

// --- searching -----------------------------------------------------------------------------------------------------

// Folders of a mail store, as the plug-in stores their messages.
void PutFolderFixture(CaseContext& ctx, ESTDB* db) {
  for (const char* uri : {"cvdx:Inbox:1", "cvdx:Inbox:2", "cvdx:inbox2:1", "cvdx:INBOX\\sub:1", "cvdx:Outbox:1",
                          "cvdx:\xEF\xBC\xA1\xEF\xBC\xA2:1" /* full-width AB */})
    PutDocument(ctx, db, {uri, {}, {"body"}, {}});
}

void IstrbwFindsUrisByPrefixIgnoringCase(CaseContext& ctx) {
  Database db(ctx.lib, OpenCreating(ctx, "index"));
  if (!db) return;
  PutFolderFixture(ctx, db.get());
  using Uris = std::set<std::string>;
  const struct {
    const char* expression;
    Uris expected;
  } cases[] = {
      {"@uri ISTRBW cvdx:Inbox", {"cvdx:Inbox:1", "cvdx:Inbox:2", "cvdx:inbox2:1", "cvdx:INBOX\\sub:1"}},
      {"@uri ISTRBW cvdx:inbox\\", {"cvdx:INBOX\\sub:1"}},
      {"@uri ISTRBW cvdx:", {"cvdx:Inbox:1", "cvdx:Inbox:2", "cvdx:inbox2:1", "cvdx:INBOX\\sub:1", "cvdx:Outbox:1",
                             "cvdx:\xEF\xBC\xA1\xEF\xBC\xA2:1"}},
      {"@uri ISTRBW cvdx:\xEF\xBD\x81\xEF\xBD\x82" /* full-width ab */, {"cvdx:\xEF\xBC\xA1\xEF\xBC\xA2:1"}},
      {"@uri ISTRBW cvdx:Drafts", {}},
      {"@uri STRBW cvdx:inbox", {"cvdx:inbox2:1"}},
      {"@uri STRBW cvdx:Inbox", {"cvdx:Inbox:1", "cvdx:Inbox:2"}},
  };
  for (const auto& c : cases) {
    if (!CASE_CHECK_EQ(ctx, SearchUris(ctx, db.get(), {c.expression}), c.expected))
      ctx.Check(false, c.expression, __FILE__, __LINE__);
  }
  // An empty result is still an array to release.
  Condition cond(ctx.lib);
  ctx.lib.est_cond_add_attr(cond.get(), "@uri ISTRBW cvdx:Drafts");
  int count = -1;
  int* ids = ctx.lib.est_db_search(db.get(), cond.get(), &count, nullptr);
  CASE_CHECK(ctx, ids != nullptr);
  CASE_CHECK_EQ(ctx, count, 0);
  ctx.lib.free(ids);
}

void AttributeOperatorsNegationAndCase(CaseContext& ctx) {
  Database db(ctx.lib, OpenCreating(ctx, "index"));
  if (!db) return;
  PutDocument(ctx, db.get(), {"cvdx:1", {{"@title", "alpha"}, {"@size", "10"}}, {"x"}, {}});
  PutDocument(ctx, db.get(), {"cvdx:2", {{"@title", "Beta"}, {"@size", "200"}}, {"x"}, {}});
  PutDocument(ctx, db.get(), {"cvdx:3", {{"@title", "gamma delta"}, {"@size", "3000"}}, {"x"}, {}});
  using Uris = std::set<std::string>;
  const Uris all{"cvdx:1", "cvdx:2", "cvdx:3"};
  const struct {
    std::vector<std::string> expressions;
    Uris expected;
  } cases[] = {
      {{"@title STREQ alpha"}, {"cvdx:1"}},
      {{"@title STREQ beta"}, {}},
      {{"@title ISTREQ BETA"}, {"cvdx:2"}},
      {{"@title STRNE alpha"}, {"cvdx:2", "cvdx:3"}},
      {{"@title STRINC ph"}, {"cvdx:1"}},
      {{"@title ISTRINC ELT"}, {"cvdx:3"}},
      {{"@title STRBW gam"}, {"cvdx:3"}},
      {{"@title STREW ta"}, {"cvdx:2", "cvdx:3"}},
      {{"@title ISTREW TA"}, {"cvdx:2", "cvdx:3"}},
      {{"@title STROR alpha Beta gamma"}, {"cvdx:1", "cvdx:2"}},
      {{"@title STRRX ^[ab]"}, {"cvdx:1"}},
      {{"@title ISTRRX ^[ab]"}, {"cvdx:1", "cvdx:2"}},
      {{"@size NUMEQ 200"}, {"cvdx:2"}},
      {{"@size NUMNE 200"}, {"cvdx:1", "cvdx:3"}},
      {{"@size NUMGT 200"}, {"cvdx:3"}},
      {{"@size NUMGE 200"}, {"cvdx:2", "cvdx:3"}},
      {{"@size NUMLT 200"}, {"cvdx:1"}},
      {{"@size NUMLE 200"}, {"cvdx:1", "cvdx:2"}},
      {{"@size NUMBT 100 3000"}, {"cvdx:2", "cvdx:3"}},
      {{"@title !STREQ alpha"}, {"cvdx:2", "cvdx:3"}},
      {{"@title !ISTRBW b"}, {"cvdx:1", "cvdx:3"}},
      {{"@size !NUMGT 200"}, {"cvdx:1", "cvdx:2"}},
      {{"@size NUMGE 200", "@title STRBW g"}, {"cvdx:3"}},
      {{"@size NUMGE 200", "@title STRBW a"}, {}},
      {{"@uri ISTRBW cvdx:", "@size NUMLT 1000000"}, all},
  };
  for (const auto& c : cases) {
    if (!CASE_CHECK_EQ(ctx, SearchUris(ctx, db.get(), c.expressions), c.expected)) {
      std::string joined;
      for (const auto& e : c.expressions) joined += "[" + e + "]";
      ctx.Check(false, joined.c_str(), __FILE__, __LINE__);
    }
  }
}

void PhraseFindsDocumentsHoldingAllItsWords(CaseContext& ctx) {
  Database db(ctx.lib, OpenCreating(ctx, "index"));
  if (!db) return;
  PutDocument(ctx, db.get(), {"cvdx:1", {}, {"The quick brown fox"}, {}});
  PutDocument(ctx, db.get(), {"cvdx:2", {}, {"a lazy dog"}, {"quick subject"}});
  PutDocument(ctx, db.get(), {"cvdx:3", {}, {"東京都庁の会議室で打ち合わせをします"}, {}});
  PutDocument(ctx, db.get(), {"cvdx:4", {}, {"zebra crossing"}, {}});  // replaced right after
  PutDocument(ctx, db.get(), {"cvdx:4", {}, {"giraffe"}, {}});
  const int removed = PutDocument(ctx, db.get(), {"cvdx:5", {}, {"quick zebra"}, {}});
  ctx.lib.est_db_out_doc(db.get(), removed, ESTODCLEAN);
  ctx.lib.est_db_flush(db.get(), -1);
  using Uris = std::set<std::string>;
  const struct {
    const char* phrase;
    std::vector<std::string> attrs;
    Uris expected;
  } cases[] = {
      {"quick", {}, {"cvdx:1", "cvdx:2"}},
      {"quick fox", {}, {"cvdx:1"}},
      {"dog quick", {}, {"cvdx:2"}},  // text and hidden text together
      {"subject", {}, {"cvdx:2"}},
      {"quick cat", {}, {}},
      {"会議室", {}, {"cvdx:3"}},
      {"東京都庁", {}, {"cvdx:3"}},
      {"打ち合わせ", {}, {"cvdx:3"}},
      {"大阪", {}, {}},
      {"zebra", {}, {}},  // replaced and removed documents are not found
      {"giraffe", {}, {"cvdx:4"}},
      {"quick", {"@uri STREQ cvdx:2"}, {"cvdx:2"}},
      {"fox", {"@uri STREQ cvdx:2"}, {}},
  };
  for (const auto& c : cases) {
    if (!CASE_CHECK_EQ(ctx, SearchUris(ctx, db.get(), c.attrs, c.phrase), c.expected))
      ctx.Check(false, c.phrase, __FILE__, __LINE__);
  }
}

// --- documents -------------------------------------------------------------------------------------------------------

void AddAttrNormalisesValues(CaseContext& ctx) {
  Document doc(ctx.lib);
  const struct {
    const char* value;
    const char* expected;
  } cases[] = {
      {"plain", "plain"},
      {"  padded  ", "padded"},
      {"a\tb\r\nc", "a b c"},
      {"many     spaces", "many spaces"},
      {"\x01\x02lead and trail\x1f", "lead and trail"},
      {"日本語  の\t値", "日本語 の 値"},
  };
  for (const auto& c : cases) {
    ctx.lib.est_doc_add_attr(doc.get(), "@title", c.value);
    CASE_CHECK_EQ(ctx, std::string(ctx.lib.est_doc_attr(doc.get(), "@title")), std::string(c.expected));
  }
  // The last value of a name is the one kept; empty names and names beginning with '%' are ignored.
  ctx.lib.est_doc_add_attr(doc.get(), "@author", "first");
  ctx.lib.est_doc_add_attr(doc.get(), "@author", "second");
  ctx.lib.est_doc_add_attr(doc.get(), "", "nameless");
  ctx.lib.est_doc_add_attr(doc.get(), "%hidden", "option");
  LibraryText draft(ctx.lib, ctx.lib.est_doc_dump_draft(doc.get()));
  CASE_CHECK_EQ(ctx, draft.str(), std::string("@author=second\n@title=日本語 の 値\n\n"));
}

void AddTextNormalisesTexts(CaseContext& ctx) {
  const struct {
    const char* text;
    const char* expected;
  } cases[] = {
      {"  a\tb\r\n\r\nc  ", "a b c"},
      {"\xEF\xBC\xA1\xEF\xBC\xA2\xEF\xBC\xA3\xEF\xBC\x91\xEF\xBC\x92\xEF\xBC\x81" /* full-width ABC12! */, "ABC12!"},
      {"\xEF\xBE\x83\xEF\xBD\xBD\xEF\xBE\x84" /* half-width te su to */, "テスト"},
      {"\xEF\xBE\x8A\xEF\xBE\x9F\xEF\xBD\xBF\xEF\xBD\xBA\xEF\xBE\x9D" /* half-width pa so ko n */, "パソコン"},
      {"\xEF\xBD\xB6\xEF\xBE\x9E\xEF\xBD\xB7\xEF\xBE\x9E" /* half-width ga gi */, "ガギ"},
      {"日本語のテキスト", "日本語のテキスト"},
  };
  for (const auto& c : cases) {
    for (bool hidden : {false, true}) {
      Document doc(ctx.lib);
      (hidden ? ctx.lib.est_doc_add_hidden_text : ctx.lib.est_doc_add_text)(doc.get(), c.text);
      if (hidden) {
        CASE_CHECK_EQ(ctx, std::string(ctx.lib.est_doc_hidden_texts(doc.get())), std::string(c.expected));
      } else {
        LibraryText texts(ctx.lib, ctx.lib.est_doc_cat_texts(doc.get()));
        CASE_CHECK_EQ(ctx, texts.str(), std::string(c.expected));
      }
    }
  }
  // A text that is empty after normalisation is no text.
  Document doc(ctx.lib);
  ctx.lib.est_doc_add_text(doc.get(), " \t\r\n ");
  ctx.lib.est_doc_add_hidden_text(doc.get(), "   ");
  CASE_CHECK(ctx, ctx.lib.est_doc_is_empty(doc.get()) != 0);
  LibraryText draft(ctx.lib, ctx.lib.est_doc_dump_draft(doc.get()));
  CASE_CHECK_EQ(ctx, draft.str(), std::string("\n"));
}

void DumpDraftWritesAttributesTextsAndHiddenTexts(CaseContext& ctx) {
  Document doc(ctx.lib);
  ctx.lib.est_doc_add_attr(doc.get(), "@uri", "cvdx:Inbox:1");
  ctx.lib.est_doc_add_attr(doc.get(), "@title", "Subject line");
  ctx.lib.est_doc_add_attr(doc.get(), "@author", "someone");
  ctx.lib.est_doc_add_text(doc.get(), "first text");
  ctx.lib.est_doc_add_hidden_text(doc.get(), "hidden one");
  ctx.lib.est_doc_add_text(doc.get(), "second text");
  ctx.lib.est_doc_add_hidden_text(doc.get(), "hidden two");
  LibraryText draft(ctx.lib, ctx.lib.est_doc_dump_draft(doc.get()));
  CASE_CHECK_EQ(ctx, draft.str(),
                std::string("@author=someone\n@title=Subject line\n@uri=cvdx:Inbox:1\n\n"
                            "first text\nsecond text\n\thidden one hidden two\n"));
  // A stored document reads back with the same attributes and texts, plus @id and @digest.
  Database db(ctx.lib, OpenCreating(ctx, "index"));
  if (!db) return;
  CASE_CHECK(ctx, ctx.lib.est_db_put_doc(db.get(), doc.get(), ESTPDCLEAN) != 0);
  const int id = ctx.lib.est_db_uri_to_id(db.get(), "cvdx:Inbox:1");
  Document stored(ctx.lib, ctx.lib.est_db_get_doc(db.get(), id, 0));
  CASE_CHECK_EQ(ctx, std::string(ctx.lib.est_doc_attr(stored.get(), "@title")), std::string("Subject line"));
  CASE_CHECK_EQ(ctx, std::string(ctx.lib.est_doc_attr(stored.get(), "@id")), std::to_string(id));
  LibraryText texts(ctx.lib, ctx.lib.est_doc_cat_texts(stored.get()));
  CASE_CHECK_EQ(ctx, texts.str(), std::string("first text second text"));
  CASE_CHECK_EQ(ctx, std::string(ctx.lib.est_doc_hidden_texts(stored.get())), std::string("hidden one hidden two"));
}

}  // namespace

const std::vector<BehaviourCase>& BehaviourCases() {
  static const std::vector<BehaviourCase> cases = {
      {"ExportsEveryEntryPoint", ExportsEveryEntryPoint},
      {"OpenCreatesTheDatabaseDirectory", OpenCreatesTheDatabaseDirectory},
      {"OpenFailsWithIoErrorWhenTheParentIsMissing", OpenFailsWithIoErrorWhenTheParentIsMissing},
      {"PlainWriterOpenOfAnEmptyDirectoryFailsWithIoError", PlainWriterOpenOfAnEmptyDirectoryFailsWithIoError},
      {"CloseKeepsTheDocumentsForTheNextOpen", CloseKeepsTheDocumentsForTheNextOpen},
      {"PutRefusesADocumentWithoutUri", PutRefusesADocumentWithoutUri},
      {"PutOfAStoredUriReplacesTheDocumentUnderAHigherId", PutOfAStoredUriReplacesTheDocumentUnderAHigherId},
      {"IdsArePositiveAndIncreaseWithEveryPut", IdsArePositiveAndIncreaseWithEveryPut},
      {"OutDocRemovesADocumentOnce", OutDocRemovesADocumentOnce},
      {"GetDocAttrReturnsAFreshCopyOrNull", GetDocAttrReturnsAFreshCopyOrNull},
      {"StoredDocumentsCarryIdAndDigest", StoredDocumentsCarryIdAndDigest},
      {"WordsAreCountedAfterAFlushDocumentsAtOnce", WordsAreCountedAfterAFlushDocumentsAtOnce},
      {"InformerReportsStatusFlushingCleaningAndClosing", InformerReportsStatusFlushingCleaningAndClosing},
      {"IstrbwFindsUrisByPrefixIgnoringCase", IstrbwFindsUrisByPrefixIgnoringCase},
      {"AttributeOperatorsNegationAndCase", AttributeOperatorsNegationAndCase},
      {"PhraseFindsDocumentsHoldingAllItsWords", PhraseFindsDocumentsHoldingAllItsWords},
      {"AddAttrNormalisesValues", AddAttrNormalisesValues},
      {"AddTextNormalisesTexts", AddTextNormalisesTexts},
      {"DumpDraftWritesAttributesTextsAndHiddenTexts", DumpDraftWritesAttributesTextsAndHiddenTexts},
  };
  return cases;
}
