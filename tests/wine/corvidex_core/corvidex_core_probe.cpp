// Drives the search-index core under Wine and prints what it sees, one line per step, for test_corvidex_core.py.
//   corvidex_core_probe index <folder>  binds estraier.dll, stores, finds, removes and counts documents there
//   corvidex_core_probe log             starts the diagnostic log at "J:\Corvidex.log"
#include <cstdio>
#include <string>

#include "diagnostic_log.h"
#include "estraier_db.h"

namespace {
// The messages as the indexing job hands them over: paths and texts in UTF-8.
struct Message {
  const char* path;
  const char* text;
};
const Message kMessages[] = {
    {"Inbox\\1", "Subject: \xE4\xBC\x9A\xE8\xAD\xB0\r\nTo: a@example.jp\r\n\r\n\xE8\xAD\xB0\xE4\xBA\x8B\xE9\x8C\xB2\r\n"},
    {"inbox2\\1", "Subject: second\r\n\r\nbody two\r\n"},
    {"Outbox\\1", "Subject: third\r\n\r\nbody three\r\n"},
};

class StageCounter : public IInformerObserver {
 public:
  void OnInform(const char*, int stage) override { ++counts[stage == kClosingStage ? 1 : 0]; }
  int counts[2] = {0, 0};
};

void PrintFolder(CEstraierDb& db, const char* folder) {
  int count = -1;
  int* ids = db.SearchFolder(folder, &count);
  std::printf("search %s %d", folder, count);
  for (int i = 0; i < count; ++i) {
    char* uri = db.GetDocUri(ids[i]);
    std::printf(" %s", uri ? uri : "(none)");
    db.FreeMemory(uri);
  }
  std::printf("\n");
  db.FreeMemory(ids);
}

int Index(const char* folder) {
  CEstraierDb db;
  std::printf("loaded %d\n", db.IsLoaded());
  if (!db.IsLoaded()) return 1;
  StageCounter stages;
  const std::string index = std::string(folder) + "\\index";
  std::printf("open %d\n", db.Open(index.c_str()));
  db.SetInformer(&stages);
  for (const Message& message : kMessages) std::printf("put %s %d\n", message.path, db.PutMessage(message.path, message.text));
  std::printf("put no-body %d\n", db.PutMessage("Inbox\\2", "Subject: only a header\r\n"));
  PrintFolder(db, "INBOX");
  int count = 0;
  int* ids = db.SearchFolder("Outbox", &count);
  if (count == 1) db.RemoveDoc(ids[0]);
  db.FreeMemory(ids);
  PrintFolder(db, "Outbox");
  db.Flush();
  std::printf("docs %d\n", db.GetDocNum());
  std::printf("words %d\n", db.GetWordNum() > 0);
  std::printf("close %d\n", db.Close());
  std::printf("stages %d %d\n", stages.counts[0] > 0, stages.counts[1] > 0);
  std::printf("closed docs %d\n", db.GetDocNum());
  return 0;
}
}  // namespace

int main(int argc, char** argv) {
  const std::string command = argc > 1 ? argv[1] : "";
  if (command == "index" && argc > 2) return Index(argv[2]);
  if (command == "log") {
    std::printf("log %d\n", StartDiagnosticLog("J:\\Corvidex.log"));
    return 0;
  }
  std::fprintf(stderr, "usage: corvidex_core_probe index <folder> | log\n");
  return 2;
}
