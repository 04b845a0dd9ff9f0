// Speed and memory of the stand-in full-text library with an index of mail size: puts documents shaped like the
// plug-in's (URI, ten attributes, a hidden subject, a body of a few KB in Japanese and English), flushes, closes,
// reopens, searches a folder by URI prefix and by phrase, removes a tenth and closes again. Prints figures.
//   estraier_standin_bench [DOCUMENTS [FOLDER]]     (default 50000 documents in a temporary folder)
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "exports.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) { return std::chrono::duration<double>(Clock::now() - since).count(); }
long PeakMemoryMiB() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss / 1024;
}
uint64_t DirectorySize(const std::filesystem::path& path) {
  uint64_t total = 0;
  for (const auto& entry : std::filesystem::directory_iterator(path)) total += entry.file_size();
  return total;
}

// A body of about 3 KB whose words vary from message to message.
std::string Body(int n) {
  static const char* const kJapanese[] = {"会議の議事録を送ります。", "明日の打ち合わせは十時からです。",
                                          "資料を添付しましたのでご確認ください。", "よろしくお願いいたします。"};
  std::string body;
  unsigned seed = static_cast<unsigned>(n) * 2654435761u;
  while (body.size() < 3000) {
    seed = seed * 1103515245u + 12345u;
    body += kJapanese[(seed >> 16) % 4];
    body += " word" + std::to_string((seed >> 8) % 20000) + " item" + std::to_string(n % 997) + "\n";
  }
  return body;
}

void PutMessage(ESTDB* db, int n) {
  ESTDOC* doc = est_doc_new();
  const std::string uri = "cvdx:Z:\\store\\Account\\taro\\folder" + std::to_string(n % 50) + ":" + std::to_string(n) + ".eml";
  est_doc_add_attr(doc, "@uri", uri.c_str());
  est_doc_add_attr(doc, "@type", "message/rfc822");
  est_doc_add_attr(doc, "@size", "3456");
  const std::string subject = "件名 number " + std::to_string(n);
  est_doc_add_attr(doc, "@title", subject.c_str());
  est_doc_add_hidden_text(doc, subject.c_str());
  est_doc_add_attr(doc, "@author", "Taro <taro@example.jp>");
  est_doc_add_attr(doc, "@to", "Hanako <hanako@example.jp>");
  est_doc_add_attr(doc, "@cdate", "Wed, 02 Jun 2004 12:34:56 +0900");
  est_doc_add_attr(doc, "@mdate", "Wed, 02 Jun 2004 12:34:56 +0900");
  est_doc_add_attr(doc, "@message-id", ("<" + std::to_string(n) + "@example.jp>").c_str());
  est_doc_add_attr(doc, "@content-type", "text/plain; charset=ISO-2022-JP");
  est_doc_add_text(doc, Body(n).c_str());
  est_db_put_doc(db, doc, ESTPDCLEAN);
  est_doc_delete(doc);
}

int Search(ESTDB* db, const char* attr, const char* phrase) {
  ESTCOND* cond = est_cond_new();
  if (attr) est_cond_add_attr(cond, attr);
  if (phrase) est_cond_set_phrase(cond, phrase);
  int count = 0;
  std::free(est_db_search(db, cond, &count, nullptr));
  est_cond_delete(cond);
  return count;
}

}  // namespace

int main(int argc, char** argv) {
  const int documents = argc > 1 ? std::atoi(argv[1]) : 50000;
  const auto folder = argc > 2 ? std::filesystem::path(argv[2])
                               : std::filesystem::temp_directory_path() / ("estraier-bench-" + std::to_string(getpid()));
  std::filesystem::create_directories(folder);
  const std::string path = (folder / "cascket").string();
  int ecode = 0;

  auto start = Clock::now();
  ESTDB* db = est_db_open(path.c_str(), ESTDBWRITER | ESTDBCREAT | ESTDBLARGE, &ecode);
  if (!db) {
    std::fprintf(stderr, "cannot open %s: %s\n", path.c_str(), est_err_msg(ecode));
    return 1;
  }
  for (int n = 0; n < documents; ++n) PutMessage(db, n);
  const double putSeconds = Seconds(start);
  start = Clock::now();
  est_db_flush(db, -1);
  const double flushSeconds = Seconds(start);
  std::printf("documents %d, words %d\n", est_db_doc_num(db), est_db_word_num(db));
  start = Clock::now();
  est_db_close(db, &ecode);
  std::printf("put      %8.2f s  (%.1f us per document)\n", putSeconds, putSeconds * 1e6 / documents);
  std::printf("flush    %8.2f s\n", flushSeconds);
  std::printf("close    %8.2f s\n", Seconds(start));

  start = Clock::now();
  db = est_db_open(path.c_str(), ESTDBWRITER | ESTDBCREAT | ESTDBLARGE, &ecode);
  std::printf("reopen   %8.2f s\n", Seconds(start));
  start = Clock::now();
  const int inFolder = Search(db, "@uri ISTRBW cvdx:z:\\store\\account\\taro\\folder7:", nullptr);
  std::printf("prefix   %8.3f s  (%d hits)\n", Seconds(start), inFolder);
  start = Clock::now();
  const int byPhrase = Search(db, nullptr, "打ち合わせ item42");
  std::printf("phrase   %8.2f s  (%d hits)\n", Seconds(start), byPhrase);
  start = Clock::now();
  for (int id = 1; id <= documents; id += 10) est_db_out_doc(db, id, ESTODCLEAN);
  for (int n = 0; n < documents / 10; ++n) PutMessage(db, n);  // a tenth indexed again
  est_db_flush(db, -1);
  est_db_close(db, &ecode);
  std::printf("purge+reindex a tenth, close %8.2f s\n", Seconds(start));
  std::printf("database %8.1f MiB on disk\n", DirectorySize(path) / 1048576.0);
  std::printf("peak RSS %8ld MiB\n", PeakMemoryMiB());
  if (argc <= 2) std::filesystem::remove_all(folder);
  return 0;
}
