// The index database object and the document mapping against the stand-in full-text library (libestraier.so of
// this build): documents are read back through a table of our own.
#include <gtest/gtest.h>

#include <dlfcn.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "estraier_db.h"

namespace {
namespace fs = std::filesystem;

const std::string kBinDir = MAILINDEX_BIN_DIR;
std::string libraryPath;  // the full-text library that kPathLoader loads

const CModuleLoader kPathLoader{
    [] { return static_cast<ModuleHandle>(dlopen(libraryPath.c_str(), RTLD_NOW | RTLD_LOCAL)); },
    CModuleLoader::System().openRuntimeLibrary,
    CModuleLoader::System().findSymbol,
    CModuleLoader::System().closeModule,
};

// One stored document as the library gives it back.
struct StoredDocument {
  std::map<std::string, std::string> attributes;  // without the library's own "@id" and "@digest"
  std::vector<std::string> texts;
  std::string hiddenTexts;
};

class EstraierDb : public ::testing::Test {
 protected:
  void SetUp() override {
    libraryPath = kBinDir + "/libestraier.so";
    if (!fs::exists(libraryPath)) GTEST_SKIP() << "stand-in library not built: " << libraryPath;
    char pattern[] = "/tmp/corvidex-db-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir = pattern;
    index = dir + "/index";
  }
  void TearDown() override {
    if (!dir.empty()) fs::remove_all(dir);
  }

  // Reads the database at index with a separate binding (the object under test must have closed it).
  struct Reader {
    CEstraierApi api;
    ESTDB* db = nullptr;
    explicit Reader(const std::string& path) {
      api.LoadLibraries(kPathLoader);
      if (!api.Bind()) return;
      int ec = 0;
      db = api.est_db_open(path.c_str(), ESTDBREADER, &ec);
    }
    ~Reader() {
      int ec = 0;
      if (db) api.est_db_close(db, &ec);
    }
    int DocNum() { return api.est_db_doc_num(db); }
    int IdOf(const std::string& uri) { return api.est_db_uri_to_id(db, uri.c_str()); }
    StoredDocument Get(int id) {
      StoredDocument stored;
      ESTDOC* doc = api.est_db_get_doc(db, id, 0);
      if (!doc) return stored;
      char* draft = api.est_doc_dump_draft(doc);
      // Attribute lines, an empty line, then one line per text; the hidden texts on one line after a tab.
      std::string text = draft;
      api.free(draft);
      api.est_doc_delete(doc);
      std::size_t at = 0;
      bool inAttributes = true;
      while (at < text.size()) {
        std::size_t end = text.find('\n', at);
        if (end == std::string::npos) end = text.size();
        const std::string line = text.substr(at, end - at);
        at = end + 1;
        if (inAttributes) {
          if (line.empty()) {
            inAttributes = false;
            continue;
          }
          const std::size_t eq = line.find('=');
          const std::string name = line.substr(0, eq);
          if (name != "@id" && name != "@digest") stored.attributes[name] = line.substr(eq + 1);
        } else if (!line.empty() && line[0] == '\t') {
          stored.hiddenTexts = line.substr(1);
        } else if (!line.empty()) {
          stored.texts.push_back(line);
        }
      }
      return stored;
    }
  };

  std::string dir;
  std::string index;
};

using Attributes = std::map<std::string, std::string>;

// A message as the mail client gives it, converted from code page 932 to UTF-8 by the indexing job.
const char kJapaneseMessage[] =
    "Return-Path: <taro@example.jp>\r\n"
    "Received: from mx.example.jp by mail.example.jp;\r\n"
    "\tSun, 09 Aug 2009 10:00:01 +0900\r\n"
    "Date: Sun, 09 Aug 2009 10:00:00 +0900\r\n"
    "From: \xE5\xB1\xB1\xE7\x94\xB0\xE5\xA4\xAA\xE9\x83\x8E <taro@example.jp>\r\n"  // 山田太郎
    "To: \xE9\x88\xB4\xE6\x9C\xA8\xE8\x8A\xB1\xE5\xAD\x90 <hanako@example.jp>\r\n"  // 鈴木花子
    "Cc: jiro@example.jp\r\n"
    "SUBJECT: \xE4\xBC\x9A\xE8\xAD\xB0\xE3\x81\xAE\xE8\xAD\xB0\xE4\xBA\x8B\xE9\x8C\xB2\r\n"  // 会議の議事録
    "To: team@example.jp\r\n"
    "Message-ID: <20090809100000.1234@example.jp>\r\n"
    "MIME-Version: 1.0\r\n"
    "Content-Type: text/plain;\r\n"
    " charset=\"ISO-2022-JP\"\r\n"
    "X-Mailer: Edmax\r\n"
    "User-Agent: Mail/1.0\r\n"
    "X-Edmax-Attachment-File: \xE8\xAD\xB0\xE4\xBA\x8B\xE9\x8C\xB2.pdf\r\n"  // 議事録.pdf
    "\r\n"
    "\xE8\x8A\xB1\xE5\xAD\x90\xE3\x81\x95\xE3\x82\x93\r\n"  // 花子さん
    "\r\n"
    "\xE6\x98\xA8\xE6\x97\xA5\xE3\x81\xAE\xE8\xAD\xB0\xE4\xBA\x8B\xE9\x8C\xB2\xE3\x81\xA7\xE3\x81\x99\xE3\x80\x82\r\n";  // 昨日の議事録です。

TEST_F(EstraierDb, StoresAJapaneseMessageAsOneDocument) {
  const std::string path = "\xE5\x8F\x97\xE4\xBF\xA1\xE7\xAE\xB1\\00012.eml";  // 受信箱\00012.eml
  {
    CEstraierDb db;
    ASSERT_TRUE(db.IsLoaded());
    ASSERT_TRUE(db.Open(index.c_str()));
    EXPECT_TRUE(db.PutMessage(path.c_str(), kJapaneseMessage));
    EXPECT_TRUE(db.Close());
  }
  Reader reader(index);
  ASSERT_NE(reader.db, nullptr);
  const int id = reader.IdOf("cvdx:" + path);
  ASSERT_GT(id, 0);
  const StoredDocument stored = reader.Get(id);
  const std::string date = "Sun, 09 Aug 2009 10:00:00 +0900";
  const std::string subject = "\xE4\xBC\x9A\xE8\xAD\xB0\xE3\x81\xAE\xE8\xAD\xB0\xE4\xBA\x8B\xE9\x8C\xB2";
  EXPECT_EQ(stored.attributes,
            (Attributes{
                {"@uri", "cvdx:" + path},
                {"@type", "message/rfc822"},
                {"@size", std::to_string(sizeof kJapaneseMessage - 1)},  // bytes, not characters
                {"@cdate", date},
                {"@mdate", date},
                {"@author", "\xE5\xB1\xB1\xE7\x94\xB0\xE5\xA4\xAA\xE9\x83\x8E <taro@example.jp>"},
                {"@to", "\xE9\x88\xB4\xE6\x9C\xA8\xE8\x8A\xB1\xE5\xAD\x90 <hanako@example.jp> team@example.jp"},
                {"@cc", "jiro@example.jp"},
                {"@title", subject},
                {"@message-id", "<20090809100000.1234@example.jp>"},
                {"@content-type", "text/plain; charset=\"ISO-2022-JP\""},
                {"@x-mailer", "Edmax"},
                {"@ua", "Mail/1.0"},
                {"@x-edmax-attachment-file", "\xE8\xAD\xB0\xE4\xBA\x8B\xE9\x8C\xB2.pdf"},
            }));
  EXPECT_EQ(stored.hiddenTexts, subject);
  // The body is one text (line ends become spaces in the library's normalised form).
  EXPECT_EQ(stored.texts, (std::vector<std::string>{
                              "\xE8\x8A\xB1\xE5\xAD\x90\xE3\x81\x95\xE3\x82\x93 \xE6\x98\xA8\xE6\x97\xA5\xE3\x81\xAE"
                              "\xE8\xAD\xB0\xE4\xBA\x8B\xE9\x8C\xB2\xE3\x81\xA7\xE3\x81\x99\xE3\x80\x82"}));
}

// Smaller messages, each with the header attributes it gives (beside "@uri", "@type" and "@size"), its hidden
// text and its texts.
TEST_F(EstraierDb, MapsHeaderFieldsOfMessages) {
  struct Case {
    const char* what;
    const char* text;
    Attributes headerAttributes;
    std::string hidden;
    std::vector<std::string> texts;
  };
  const Case cases[] = {
      {"an encoded-word subject stays encoded", "Subject: =?ISO-2022-JP?B?GyRCMnFEajxpGyhC?=\r\n\r\nx",
       {{"@title", "=?ISO-2022-JP?B?GyRCMnFEajxpGyhC?="}}, "=?ISO-2022-JP?B?GyRCMnFEajxpGyhC?=", {"x"}},
      {"SUBJECT and Subject: the last in byte order gives the title, both give hidden text",
       "Subject: lower\r\nSUBJECT: upper\r\n\r\nx", {{"@title", "lower"}}, "upper lower", {"x"}},
      {"a blank before the colon matches nothing", "Subject : no\r\nDate : no\r\n\r\nx", {}, "", {"x"}},
      {"a message that begins with an empty line", "\r\nSubject: in the body\r\n", {}, "", {"Subject: in the body"}},
      {"a message that ends with its empty line has an empty text", "Subject: s\r\n\r\n", {{"@title", "s"}}, "s",
       {}},
      {"unknown and trace fields give nothing", "Received: a\r\nReply-To: b\r\nMIME-Version: 1.0\r\n\r\nx", {},
       "", {"x"}},
  };
  int n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string path = "Inbox\\" + std::to_string(++n);
    {
      CEstraierDb db;
      ASSERT_TRUE(db.Open(index.c_str()));
      EXPECT_TRUE(db.PutMessage(path.c_str(), c.text));
    }
    Reader reader(index);
    StoredDocument stored = reader.Get(reader.IdOf("cvdx:" + path));
    EXPECT_EQ(stored.attributes["@size"], std::to_string(std::string(c.text).size()));
    for (const char* fixed : {"@uri", "@type", "@size"}) stored.attributes.erase(fixed);
    EXPECT_EQ(stored.attributes, c.headerAttributes);
    EXPECT_EQ(stored.hiddenTexts, c.hidden);
    EXPECT_EQ(stored.texts, c.texts);
  }
}

TEST_F(EstraierDb, StoresNothingWithoutABodyOrWhileClosedAndOnceForTheSamePath) {
  {
    CEstraierDb db;
    EXPECT_TRUE(db.PutMessage("Inbox\\closed", "Subject: s\r\n\r\nbody"));  // closed: built, not stored
    ASSERT_TRUE(db.Open(index.c_str()));
    EXPECT_FALSE(db.PutMessage("Inbox\\1", "Subject: s\r\nTo: t\r\n"));
    EXPECT_FALSE(db.PutMessage("Inbox\\2", ""));
    EXPECT_TRUE(db.PutMessage("Inbox\\3", "Subject: first\r\n\r\none"));
    EXPECT_TRUE(db.PutMessage("Inbox\\3", "Subject: second\r\n\r\ntwo"));
    EXPECT_EQ(db.GetDocNum(), 1);
  }
  Reader reader(index);
  EXPECT_EQ(reader.DocNum(), 1);
  EXPECT_EQ(reader.IdOf("cvdx:Inbox\\closed"), -1);
  EXPECT_EQ(reader.IdOf("cvdx:Inbox\\1"), -1);
  EXPECT_EQ(reader.Get(reader.IdOf("cvdx:Inbox\\3")).attributes["@title"], "second");
}

class RecordingObserver : public IInformerObserver {
 public:
  void OnInform(const char*, int stage) override { stages.insert(stage); }
  std::set<int> stages;
};

TEST_F(EstraierDb, FindsAFoldersDocumentsByPrefixAndRemovesThem) {
  CEstraierDb db;
  RecordingObserver observer;
  EXPECT_EQ(db.GetDocNum(), 0);
  EXPECT_EQ(db.GetWordNum(), 0);
  ASSERT_TRUE(db.Open(index.c_str()));
  db.SetInformer(&observer);
  for (const char* path : {"Inbox\\1", "inbox2\\1", "INBOX\\sub\\1", "Outbox\\1", "Inbo\\1"}) {
    ASSERT_TRUE(db.PutMessage(path, "Subject: s\r\n\r\nsome words"));
  }

  auto uris = [&](const char* folder) {
    std::vector<std::string> found;
    int count = -1;
    int* ids = db.SearchFolder(folder, &count);
    for (int i = 0; i < count; ++i) {
      char* uri = db.GetDocUri(ids[i]);
      found.push_back(uri ? uri : "(none)");
      db.FreeMemory(uri);
    }
    db.FreeMemory(ids);
    std::sort(found.begin(), found.end());
    return found;
  };
  EXPECT_EQ(uris("Inbox"), (std::vector<std::string>{"cvdx:INBOX\\sub\\1", "cvdx:Inbox\\1", "cvdx:inbox2\\1"}));
  EXPECT_TRUE(uris("Drafts").empty());
  EXPECT_TRUE(uris("").empty());  // an empty prefix is refused, not "everything"

  int count = 0;
  int* ids = db.SearchFolder("Outbox", &count);
  ASSERT_EQ(count, 1);
  const int outboxId = ids[0];
  db.FreeMemory(ids);
  db.RemoveDoc(outboxId);
  db.RemoveDoc(outboxId);  // gone already: ignored
  EXPECT_EQ(db.GetDocUri(outboxId), nullptr);
  EXPECT_TRUE(uris("Outbox").empty());
  EXPECT_EQ(db.GetDocNum(), 4);

  db.Flush();
  EXPECT_GT(db.GetWordNum(), 0);
  EXPECT_TRUE(db.Close());
  EXPECT_EQ(observer.stages, (std::set<int>{IInformerObserver::kFlushingStage, IInformerObserver::kClosingStage}));
  EXPECT_EQ(db.GetDocNum(), 0);
  EXPECT_EQ(db.GetWordNum(), 0);
  EXPECT_EQ(db.GetDocUri(1), nullptr);
}

TEST_F(EstraierDb, BindingNeedsTheCompleteLibraryAndSaysNothing) {
  struct Case {
    const char* what;
    std::string library;  // empty: the system loader by bare name (the build's bin is on the search path)
    bool loaded;
  };
  const Case cases[] = {
      {"the complete library by name", "", true},
      {"the complete library", kBinDir + "/libestraier.so", true},
      {"without est_vector_cosine", kBinDir + "/novector/libestraier.so", false},
      {"no library", dir + "/missing/libestraier.so", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    libraryPath = c.library;
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    {
      const bool loaded = c.library.empty() ? CEstraierDb().IsLoaded() : CEstraierDb(kPathLoader).IsLoaded();
      EXPECT_EQ(loaded, c.loaded);
    }
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  }
}
}  // namespace
