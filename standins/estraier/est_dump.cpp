// est-dump: lists what a full-text database holds, so that tests and people can see what was indexed.
//   est-dump DATABASE
// Opens the database read-only through the library's own entry points and writes, in UTF-8 with bare line feeds:
//   # database: <path as given, in UTF-8>
//   # documents: <count>
//   # words: <count>
// then one block per document in ascending id order, each preceded by an empty line:
//   [document <id>]
//   <name>=<value>        one line per attribute, sorted by name
//   hidden: <text>        the hidden texts, joined by spaces (only when there are any)
//   text: <text>          one line per text
// Exit status: 0 on success, 1 for a wrong command line, 2 when the database cannot be opened or read.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#endif

#include "estraier_api.h"

#define EST_DUMP_DECLARE(name, ret, params) extern "C" ret ESTRAIER_CALL name params;
ESTRAIER_ENTRY_POINTS(EST_DUMP_DECLARE)
#undef EST_DUMP_DECLARE

namespace {

// Owns what the library allocates with malloc.
struct MallocText {
  char* text;
  ~MallocText() { std::free(text); }
};
struct Document {
  ESTDOC* doc;
  ~Document() { if (doc) est_doc_delete(doc); }
};
struct Database {
  ESTDB* db;
  ~Database() {
    int ecode = 0;
    if (db) est_db_close(db, &ecode);
  }
};

void Write(std::string_view text) { std::fwrite(text.data(), 1, text.size(), stdout); }

// The database path as UTF-8 for the listing; on Windows the command line gives it in the system's code page.
std::string PathForDisplay(const char* path) {
#if defined(_WIN32)
  int wide = MultiByteToWideChar(CP_ACP, 0, path, -1, nullptr, 0);
  if (wide <= 0) return path;
  std::wstring utf16(static_cast<size_t>(wide), L'\0');
  MultiByteToWideChar(CP_ACP, 0, path, -1, utf16.data(), wide);
  int bytes = WideCharToMultiByte(CP_UTF8, 0, utf16.c_str(), -1, nullptr, 0, nullptr, nullptr);
  if (bytes <= 0) return path;
  std::string utf8(static_cast<size_t>(bytes), '\0');
  WideCharToMultiByte(CP_UTF8, 0, utf16.c_str(), -1, utf8.data(), bytes, nullptr, nullptr);
  utf8.resize(static_cast<size_t>(bytes) - 1);
  return utf8;
#else
  return path;
#endif
}

// Turns a document's draft (attributes, empty line, texts, a tab-led line of hidden texts) into its block.
void WriteBlock(int id, std::string_view draft) {
  std::string attributes, hidden, texts;
  bool inAttributes = true;
  while (!draft.empty()) {
    size_t end = draft.find('\n');
    std::string_view line = draft.substr(0, end);
    draft = end == std::string_view::npos ? std::string_view() : draft.substr(end + 1);
    if (inAttributes) {
      if (line.empty()) {
        inAttributes = false;
      } else {
        attributes.append(line).append("\n");
      }
    } else if (!line.empty() && line[0] == '\t') {
      hidden.append("hidden: ").append(line.substr(1)).append("\n");
    } else {
      texts.append("text: ").append(line).append("\n");
    }
  }
  Write("\n[document " + std::to_string(id) + "]\n");
  Write(attributes);
  Write(hidden);
  Write(texts);
}

}  // namespace

int main(int argc, char** argv) {
#if defined(_WIN32)
  _setmode(_fileno(stdout), _O_BINARY);
#endif
  if (argc != 2) {
    std::fprintf(stderr, "usage: est-dump DATABASE\n");
    return 1;
  }
  int ecode = 0;
  Database database{est_db_open(argv[1], ESTDBREADER, &ecode)};
  if (!database.db) {
    std::fprintf(stderr, "est-dump: cannot open %s: %s\n", PathForDisplay(argv[1]).c_str(), est_err_msg(ecode));
    return 2;
  }
  ESTDB* db = database.db;
  Write("# database: " + PathForDisplay(argv[1]) + "\n");
  Write("# documents: " + std::to_string(est_db_doc_num(db)) + "\n");
  Write("# words: " + std::to_string(est_db_word_num(db)) + "\n");
  if (!est_db_iter_init(db, nullptr)) return 2;
  int id;
  while ((id = est_db_iter_next(db)) > 0) {
    Document document{est_db_get_doc(db, id, 0)};
    if (!document.doc) {
      std::fprintf(stderr, "est-dump: cannot read document %d: %s\n", id, est_err_msg(est_db_error(db)));
      return 2;
    }
    MallocText draft{est_doc_dump_draft(document.doc)};
    if (draft.text) WriteBlock(id, draft.text);
  }
  return id < 0 ? 2 : 0;
}
