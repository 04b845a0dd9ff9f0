// Properties of the stand-in library itself, beyond the behaviour table: its storage after a killed writer, a torn
// or damaged log, compaction, letter-case folding, digests, word boundaries, est-dump and the variant library.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "exports.h"
#include "scratch_folder.h"

namespace fs = std::filesystem;

namespace {

constexpr int kCreatingWriter = ESTDBWRITER | ESTDBCREAT | ESTDBLARGE;

struct DbCloser {
  void operator()(ESTDB* db) const {
    int ecode;
    est_db_close(db, &ecode);
  }
};
using DbPtr = std::unique_ptr<ESTDB, DbCloser>;
struct DocDeleter {
  void operator()(ESTDOC* doc) const { est_doc_delete(doc); }
};
using DocPtr = std::unique_ptr<ESTDOC, DocDeleter>;

DbPtr Open(const std::string& path, int mode = kCreatingWriter, int* ecode = nullptr) {
  int code = -1;
  DbPtr db(est_db_open(path.c_str(), mode, &code));
  if (ecode) *ecode = code;
  return db;
}

bool Put(ESTDB* db, const std::string& uri, const std::string& text, const std::string& title = {}) {
  DocPtr doc(est_doc_new());
  est_doc_add_attr(doc.get(), "@uri", uri.c_str());
  if (!title.empty()) est_doc_add_attr(doc.get(), "@title", title.c_str());
  est_doc_add_text(doc.get(), text.c_str());
  return est_db_put_doc(db, doc.get(), ESTPDCLEAN) != 0;
}

std::string Attribute(ESTDB* db, int id, const char* name) {
  char* value = est_db_get_doc_attr(db, id, name);
  std::string copy = value ? value : "(null)";
  std::free(value);
  return copy;
}

std::set<std::string> Search(ESTDB* db, const std::vector<std::string>& attrs, const char* phrase = nullptr) {
  ESTCOND* cond = est_cond_new();
  for (const auto& expression : attrs) est_cond_add_attr(cond, expression.c_str());
  if (phrase) est_cond_set_phrase(cond, phrase);
  int count = 0;
  int* ids = est_db_search(db, cond, &count, nullptr);
  est_cond_delete(cond);
  std::set<std::string> uris;
  for (int i = 0; i < count; ++i) uris.insert(Attribute(db, ids[i], "@uri"));
  std::free(ids);
  return uris;
}

std::string LogPath(const std::string& database) {
  for (const auto& entry : fs::directory_iterator(database))
    if (entry.path().extension() == ".log") return entry.path().string();
  return {};
}

TEST(EstraierStandinStorage, KilledWriterLeavesEverythingUpToItsLastFlush) {
  ScratchFolder scratch("killed");
  const std::string path = scratch.path() + "/index";
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    ESTDB* db = est_db_open(path.c_str(), kCreatingWriter, nullptr);
    bool ok = db && Put(db, "cvdx:a", "one") && Put(db, "cvdx:b", "two") && est_db_flush(db, -1) &&
              Put(db, "cvdx:c", "three");
    // Enough more to reach the log uncommitted, as a long job does between flushes.
    const std::string large(300000, 'z');
    for (int i = 0; ok && i < 40; ++i) ok = Put(db, "cvdx:large" + std::to_string(i), large);
    _exit(ok ? 0 : 1);  // no close: the process dies with puts pending
  }
  int status = 0;
  waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);

  EXPECT_GT(fs::file_size(LogPath(path)), 8u << 20);
  // Cut short a commit as well: a torn record at the end of the log.
  std::ofstream(LogPath(path), std::ios::binary | std::ios::app) << "DOC1 torn";
  {
    DbPtr reader = Open(path, ESTDBREADER);
    ASSERT_TRUE(reader);
    EXPECT_EQ(Search(reader.get(), {"@uri ISTRBW cvdx:"}), (std::set<std::string>{"cvdx:a", "cvdx:b"}));
    EXPECT_EQ(est_db_put_doc(reader.get(), nullptr, 0), 0);
    EXPECT_EQ(est_db_error(reader.get()), 2);
  }
  DbPtr writer = Open(path);
  ASSERT_TRUE(writer);
  EXPECT_TRUE(Put(writer.get(), "cvdx:c", "three again"));
  int ecode = -1;
  EXPECT_TRUE(est_db_close(writer.release(), &ecode));
  DbPtr reopened = Open(path);
  ASSERT_TRUE(reopened);
  EXPECT_EQ(Search(reopened.get(), {"@uri ISTRBW cvdx:"}, "again"), (std::set<std::string>{"cvdx:c"}));
  EXPECT_EQ(est_db_doc_num(reopened.get()), 3);
}

TEST(EstraierStandinStorage, ASecondWriterIsRefusedReadersAreNot) {
  ScratchFolder scratch("lock");
  const std::string path = scratch.path() + "/index";
  DbPtr writer = Open(path);
  ASSERT_TRUE(writer && Put(writer.get(), "cvdx:a", "one"));
  int ecode = -1;
  EXPECT_FALSE(Open(path, kCreatingWriter, &ecode));
  EXPECT_EQ(ecode, 3);
  est_db_flush(writer.get(), -1);
  DbPtr reader = Open(path, ESTDBREADER, &ecode);
  ASSERT_TRUE(reader);
  EXPECT_EQ(est_db_doc_num(reader.get()), 1);
  writer.reset();
  EXPECT_TRUE(Open(path, ESTDBWRITER, &ecode));
  // A failed plain-writer open of an empty folder leaves nothing behind in it.
  const std::string empty = scratch.path() + "/empty";
  fs::create_directory(empty);
  EXPECT_FALSE(Open(empty, ESTDBWRITER, &ecode));
  EXPECT_EQ(ecode, 5);
  EXPECT_TRUE(fs::is_empty(empty));
}

TEST(EstraierStandinStorage, DamagedLogIsADatabaseProblem) {
  ScratchFolder scratch("damaged");
  const std::string path = scratch.path() + "/index";
  {
    DbPtr db = Open(path);
    ASSERT_TRUE(db && Put(db.get(), "cvdx:a", "some text to damage"));
  }
  {
    std::fstream log(LogPath(path), std::ios::binary | std::ios::in | std::ios::out);
    log.seekp(30);
    log.put('#');
  }
  int ecode = -1;
  EXPECT_FALSE(Open(path, kCreatingWriter, &ecode));
  EXPECT_EQ(ecode, 4);
  // A meta file that is not the stand-in's is refused the same way.
  std::ofstream(path + "/standin.meta", std::ios::trunc) << "something else\n";
  EXPECT_FALSE(Open(path, kCreatingWriter, &ecode));
  EXPECT_EQ(ecode, 4);
}

TEST(EstraierStandinStorage, CompactionKeepsTheLiveDocumentsAndRemovesLeftovers) {
  ScratchFolder scratch("compaction");
  const std::string path = scratch.path() + "/index";
  const std::string body(2000, 'x');
  int words = 0;
  {
    DbPtr db = Open(path);
    ASSERT_TRUE(db);
    for (int round = 0; round < 3; ++round)
      for (int i = 0; i < 40; ++i)
        ASSERT_TRUE(Put(db.get(), "cvdx:m" + std::to_string(i), body + " round" + std::to_string(round)));
    est_db_flush(db.get(), -1);
    words = est_db_word_num(db.get());
  }
  const std::string log = LogPath(path);
  EXPECT_EQ(fs::path(log).filename(), "docs-2.log");
  EXPECT_LT(fs::file_size(log), 40u * 2300u);
  // Files an interrupted compaction or meta update would leave behind.
  std::ofstream(path + "/docs-3.log") << "partial";
  std::ofstream(path + "/standin.meta.tmp") << "partial";
  DbPtr db = Open(path);
  ASSERT_TRUE(db);
  EXPECT_FALSE(fs::exists(path + "/docs-3.log"));
  EXPECT_FALSE(fs::exists(path + "/standin.meta.tmp"));
  EXPECT_EQ(est_db_doc_num(db.get()), 40);
  EXPECT_EQ(est_db_word_num(db.get()), words);
  EXPECT_EQ(Search(db.get(), {}, "round2").size(), 40u);
  EXPECT_TRUE(Search(db.get(), {}, "round1").empty());
  EXPECT_EQ(Attribute(db.get(), est_db_uri_to_id(db.get(), "cvdx:m7"), "@id"),
            std::to_string(est_db_uri_to_id(db.get(), "cvdx:m7")));
}

TEST(EstraierStandinSearch, CaseFoldingCoversLatinGreekCyrillicAndFullWidth) {
  ScratchFolder scratch("folding");
  DbPtr db = Open(scratch.path() + "/index");
  ASSERT_TRUE(db);
  for (const char* uri : {"cvdx:ÉCOLE", "cvdx:ΑΒΓ", "cvdx:ДОМ", "cvdx:ŁÓDŹ", "cvdx:ＡＢＣ"}) ASSERT_TRUE(Put(db.get(), uri, uri));
  const struct {
    const char* prefix;
    const char* expected;
  } cases[] = {{"école", "cvdx:ÉCOLE"}, {"αβγ", "cvdx:ΑΒΓ"}, {"дом", "cvdx:ДОМ"}, {"łódź", "cvdx:ŁÓDŹ"},
               {"ａｂｃ", "cvdx:ＡＢＣ"}};
  for (const auto& c : cases) {
    EXPECT_EQ(Search(db.get(), {std::string("@uri ISTRBW cvdx:") + c.prefix}), (std::set<std::string>{c.expected}))
        << c.prefix;
    EXPECT_TRUE(Search(db.get(), {std::string("@uri STRBW cvdx:") + c.prefix}).empty()) << c.prefix;
    EXPECT_EQ(Search(db.get(), {}, c.prefix), (std::set<std::string>{c.expected})) << c.prefix;
  }
}

TEST(EstraierStandinSearch, LatinWordsMatchWholeJapaneseWordsAnywhere) {
  ScratchFolder scratch("words");
  DbPtr db = Open(scratch.path() + "/index");
  ASSERT_TRUE(db);
  ASSERT_TRUE(Put(db.get(), "cvdx:1", "concatenate the strings"));
  ASSERT_TRUE(Put(db.get(), "cvdx:2", "a cat, and a dog"));
  ASSERT_TRUE(Put(db.get(), "cvdx:3", "東京都庁"));
  ASSERT_TRUE(Put(db.get(), "cvdx:4", "the dog barks"));
  EXPECT_EQ(Search(db.get(), {}, "cat"), (std::set<std::string>{"cvdx:2"}));
  EXPECT_EQ(Search(db.get(), {}, "CAT OR strings"), (std::set<std::string>{"cvdx:1", "cvdx:2"}));
  EXPECT_EQ(Search(db.get(), {}, "the ANDNOT dog"), (std::set<std::string>{"cvdx:1"}));
  EXPECT_EQ(Search(db.get(), {}, "京都"), (std::set<std::string>{"cvdx:3"}));
  EXPECT_EQ(Search(db.get(), {}, "[UVSET]").size(), 4u);
}

TEST(EstraierStandinDocument, DigestIsTheMd5OfTheTexts) {
  const struct {
    std::string text;
    const char* digest;
  } cases[] = {{"", "d41d8cd98f00b204e9800998ecf8427e"},
               {"abc", "900150983cd24fb0d6963f7d28e17f72"},
               {std::string(55, 'a'), "ef1772b6dff9a122358552954ad0df65"},
               {std::string(56, 'a'), "3b0c8ac703f828b04c6c197006d17218"},
               {std::string(64, 'a'), "014842d480b571495a4a0363793f7367"},
               {"日本語のテキスト", "6161712f6b31d73e38679943c0bbea92"}};
  ScratchFolder scratch("digest");
  DbPtr db = Open(scratch.path() + "/index");
  ASSERT_TRUE(db);
  for (const auto& c : cases) {
    ASSERT_TRUE(Put(db.get(), "cvdx:" + c.text, c.text));
    EXPECT_EQ(Attribute(db.get(), est_db_uri_to_id(db.get(), ("cvdx:" + c.text).c_str()), "@digest"), c.digest);
  }
}

TEST(EstraierStandinDocument, DraftReadsBackIntoTheSameDocument) {
  DocPtr doc(est_doc_new());
  est_doc_add_attr(doc.get(), "@uri", "cvdx:x");
  est_doc_add_attr(doc.get(), "@title", "件名");
  est_doc_add_text(doc.get(), "first");
  est_doc_add_text(doc.get(), "second");
  est_doc_add_hidden_text(doc.get(), "hidden");
  char* draft = est_doc_dump_draft(doc.get());
  DocPtr copy(est_doc_new_from_draft(draft));
  char* again = est_doc_dump_draft(copy.get());
  EXPECT_STREQ(again, draft);
  std::free(draft);
  std::free(again);
}

TEST(EstraierStandinTools, EstDumpListsEveryDocument) {
  ScratchFolder scratch("dump");
  const std::string path = scratch.path() + "/index";
  {
    DbPtr db = Open(path);
    ASSERT_TRUE(db);
    ASSERT_TRUE(Put(db.get(), "cvdx:受信箱:1", "本文です", "件名"));
    DocPtr doc(est_doc_new());
    est_doc_add_attr(doc.get(), "@uri", "cvdx:受信箱:2");
    est_doc_add_hidden_text(doc.get(), "隠し");
    est_doc_add_text(doc.get(), "line one");
    est_doc_add_text(doc.get(), "line two");
    ASSERT_TRUE(est_db_put_doc(db.get(), doc.get(), ESTPDCLEAN));
    est_db_flush(db.get(), -1);
  }
  FILE* pipe = popen((std::string(MAILINDEX_BIN_DIR) + "/est-dump '" + path + "'").c_str(), "r");
  ASSERT_TRUE(pipe);
  std::string output;
  char buffer[4096];
  size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, got);
  EXPECT_EQ(pclose(pipe), 0);
  EXPECT_EQ(output,
            "# database: " + path + "\n# documents: 2\n# words: 7\n"
            "\n[document 1]\n@digest=3c5eac2dcc6694bd5942af3bb30b4d00\n@id=1\n@title=件名\n@uri=cvdx:受信箱:1\n"
            "text: 本文です\n"
            "\n[document 2]\n@digest=55a8b05b9ae0d266d393c668db79d1e5\n@id=2\n@uri=cvdx:受信箱:2\nhidden: 隠し\n"
            "text: line one\ntext: line two\n");
}

TEST(EstraierStandinTools, VariantLacksOnlyVectorCosine) {
  void* variant = dlopen(MAILINDEX_BIN_DIR "/novector/libestraier.so", RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(variant, nullptr) << dlerror();
  EXPECT_EQ(dlsym(variant, "est_vector_cosine"), nullptr);
  EXPECT_NE(dlsym(variant, "est_vector_set_target"), nullptr);
  EXPECT_NE(dlsym(variant, "est_db_open"), nullptr);
  dlclose(variant);
}

}  // namespace
