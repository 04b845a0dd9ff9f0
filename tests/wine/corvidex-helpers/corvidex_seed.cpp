// corvidex-seed DATABASE URIFILE
// Puts one document per line of URIFILE (UTF-8, one URI a line) into the database, creating it if need be, each
// with the text "seeded". Exit status 0 on success, 1 for a wrong command line, 2 when something fails.
#include <cstdio>
#include <fstream>
#include <string>

#include "estraier_api.h"

#define SEED_DECLARE(name, ret, params) extern "C" ret ESTRAIER_CALL name params;
ESTRAIER_ENTRY_POINTS(SEED_DECLARE)
#undef SEED_DECLARE

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: corvidex-seed DATABASE URIFILE\n");
    return 1;
  }
  std::ifstream uris(argv[2], std::ios::binary);
  if (!uris) return 2;
  int ecode = 0;
  ESTDB* db = est_db_open(argv[1], ESTDBWRITER | ESTDBCREAT, &ecode);
  if (!db) return 2;
  int status = 0;
  for (std::string uri; std::getline(uris, uri);) {
    if (!uri.empty() && uri.back() == '\r') uri.pop_back();
    if (uri.empty()) continue;
    ESTDOC* doc = est_doc_new();
    est_doc_add_attr(doc, "@uri", uri.c_str());
    est_doc_add_text(doc, "seeded");
    if (!est_db_put_doc(db, doc, ESTPDCLEAN)) status = 2;
    est_doc_delete(doc);
  }
  if (!est_db_close(db, &ecode)) status = 2;
  return status;
}
