// estraier-fill.exe: writes a small known database through the stand-in library, for the tests that look at it
// from another process (est-dump, a later job) or that kill a job half-way.
//   estraier-fill.exe DATABASE [--abandon]
// Puts two messages and flushes. Without --abandon it closes the database; with it, it puts a third message and
// ends the process at once without closing, as a killed job would.
#include <cstdio>
#include <cstdlib>
#include <string_view>

#if defined(_WIN32)
#include <windows.h>
#endif

#include "estraier_api.h"

#define FILL_DECLARE(name, ret, params) extern "C" ret ESTRAIER_CALL name params;
ESTRAIER_ENTRY_POINTS(FILL_DECLARE)
#undef FILL_DECLARE

namespace {

struct Message {
  const char* uri;
  const char* title;
  const char* text;
};

// Paths and texts as the plug-in hands them over: UTF-8.
constexpr Message kMessages[] = {
    {"cvdx:Z:\\store\\受信箱:0001.eml", "会議の件", "明日の会議は１０時からです。"},
    {"cvdx:Z:\\store\\受信箱:0002.eml", "Second", "Second message"},
    {"cvdx:Z:\\store\\受信箱:0003.eml", "Third", "never flushed"},
};

bool Put(ESTDB* db, const Message& message) {
  ESTDOC* doc = est_doc_new();
  est_doc_add_attr(doc, "@uri", message.uri);
  est_doc_add_attr(doc, "@title", message.title);
  est_doc_add_hidden_text(doc, message.title);
  est_doc_add_text(doc, message.text);
  bool ok = est_db_put_doc(db, doc, ESTPDCLEAN) != 0;
  est_doc_delete(doc);
  return ok;
}

[[noreturn]] void EndAtOnce() {
#if defined(_WIN32)
  TerminateProcess(GetCurrentProcess(), 3);
#endif
  std::_Exit(3);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: estraier-fill DATABASE [--abandon]\n");
    return 1;
  }
  const bool abandon = argc > 2 && std::string_view(argv[2]) == "--abandon";
  int ecode = 0;
  ESTDB* db = est_db_open(argv[1], ESTDBWRITER | ESTDBCREAT | ESTDBLARGE, &ecode);
  if (!db) {
    std::fprintf(stderr, "estraier-fill: cannot open %s: %s\n", argv[1], est_err_msg(ecode));
    return 2;
  }
  bool ok = Put(db, kMessages[0]) && Put(db, kMessages[1]) && est_db_flush(db, -1);
  if (abandon) {
    Put(db, kMessages[2]);
    EndAtOnce();
  }
  ok = est_db_close(db, &ecode) && ok;
  return ok ? 0 : 2;
}
