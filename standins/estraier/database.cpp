// Database entry points that the stand-in implements: open and close, storing, removing and reading documents,
// flushing, counting, iterating and the informer.
#include "database.h"

#include <cstdio>
#include <new>

#include "c_memory.h"
#include "document.h"
#include "exports.h"
#include "md5.h"

using namespace estraier_standin;

namespace {

// Tells the informer the stage and the database's figures, in the library's form.
void Inform(ESTDB* db, const char* stage) {
  if (!db->informer) return;
  const DocumentStore& store = *db->store;
  char message[1024];
  std::snprintf(message, sizeof message, "%s: name=%s dnum=%d wnum=%d fsiz=%.0f crnum=%d csiz=%.0f dknum=%d", stage,
                db->name.c_str(), static_cast<int>(store.documents().size()), static_cast<int>(store.wordCount()),
                static_cast<double>(store.logSize()), static_cast<int>(store.pendingWordCount()),
                static_cast<double>(store.pendingSize()), store.removedSinceFlush());
  db->informer(message, db->informerOpaque);
}

bool RefuseReader(ESTDB* db) {
  if (db->store->writer()) return false;
  db->ecode = kErrorAccess;
  return true;
}

bool Flush(ESTDB* db, int max) {
  Inform(db, "flushing index words");
  db->store->FlushWords(max);
  Inform(db, "cleaning dispensable keys");
  if (!db->store->Commit()) {
    db->ecode = kErrorIo;
    return false;
  }
  return true;
}

}  // namespace

extern "C" {

const char* est_err_msg(int ecode) {
  switch (ecode) {
    case kErrorNone: return "no error";
    case kErrorInvalid: return "invalid argument";
    case kErrorAccess: return "access forbidden";
    case kErrorLock: return "lock failure";
    case kErrorDatabase: return "database problem";
    case kErrorIo: return "I/O problem";
    case kErrorNoItem: return "no item found";
    case kErrorMisc: return "miscellaneous";
    default: return "unknown error";
  }
}

ESTDB* est_db_open(const char* name, int omode, int* ecp) {
  int ecode = kErrorInvalid;
  ESTDB* db = nullptr;
  if (name) {
    const bool writer = (omode & ESTDBWRITER) != 0;
    auto store = DocumentStore::Open(name, writer, writer && (omode & ESTDBCREAT), ecode);
    if (store) {
      db = new (std::nothrow) ESTDB;
      if (db) {
        db->name = name;
        db->store = std::move(store);
      } else {
        ecode = kErrorMisc;
      }
    }
  }
  if (ecp) *ecp = db ? kErrorNone : ecode;
  return db;
}

int est_db_close(ESTDB* db, int* ecp) {
  if (!db) {
    if (ecp) *ecp = kErrorInvalid;
    return 0;
  }
  bool ok = true;
  DocumentStore& store = *db->store;
  if (store.writer()) {
    if (store.pendingWordCount() > 0 || store.pendingSize() > 0) ok = Flush(db, -1);
  }
  Inform(db, "closing");
  if (ok && store.CompactionWorthwhile()) ok = store.Compact();
  if (ecp) *ecp = ok ? kErrorNone : kErrorIo;
  delete db;  // the handle is released whatever happened
  return ok;
}

int est_db_error(ESTDB* db) { return db ? db->ecode : kErrorInvalid; }

int est_db_fatal(ESTDB*) { return 0; }

int est_db_flush(ESTDB* db, int max) {
  if (!db || RefuseReader(db)) return 0;
  return Flush(db, max);
}

int est_db_sync(ESTDB* db) {
  if (!db || RefuseReader(db)) return 0;
  if (db->store->Commit()) return 1;
  db->ecode = kErrorIo;
  return 0;
}

int est_db_optimize(ESTDB* db, int) {
  if (!db || RefuseReader(db)) return 0;
  if (db->store->Compact()) return 1;
  db->ecode = kErrorIo;
  return 0;
}

int est_db_put_doc(ESTDB* db, ESTDOC* doc, int) {
  if (!db) return 0;
  if (RefuseReader(db)) return 0;
  if (!doc || !doc->attrs.count("@uri")) {
    db->ecode = kErrorInvalid;
    return 0;
  }
  auto attrs = doc->attrs;
  if (!attrs.count("@digest")) attrs["@digest"] = Md5Hex(CatTexts(*doc));
  const int id = db->store->Put(std::move(attrs), doc->texts.items, doc->hiddenTexts);
  doc->id = id;
  return 1;
}

int est_db_out_doc(ESTDB* db, int id, int) {
  if (!db || RefuseReader(db)) return 0;
  if (db->store->Remove(id)) return 1;
  db->ecode = kErrorNoItem;
  return 0;
}

ESTDOC* est_db_get_doc(ESTDB* db, int id, int) {
  if (!db) return nullptr;
  ESTDOC* doc = new (std::nothrow) ESTDOC;
  if (doc && db->store->Read(id, *doc)) return doc;
  delete doc;
  db->ecode = kErrorNoItem;
  return nullptr;
}

char* est_db_get_doc_attr(ESTDB* db, int id, const char* name) {
  if (!db || !name) return nullptr;
  const auto& documents = db->store->documents();
  auto found = documents.find(id);
  if (found != documents.end()) {
    auto attr = found->second.attrs.find(name);
    if (attr != found->second.attrs.end()) return MallocCopy(attr->second);
  }
  db->ecode = kErrorNoItem;
  return nullptr;
}

int est_db_uri_to_id(ESTDB* db, const char* uri) {
  if (!db || !uri) return -1;
  if (auto id = db->store->IdOfUri(uri)) return *id;
  db->ecode = kErrorNoItem;
  return -1;
}

const char* est_db_name(ESTDB* db) { return db ? db->name.c_str() : nullptr; }

int est_db_doc_num(ESTDB* db) { return db ? static_cast<int>(db->store->documents().size()) : 0; }

int est_db_word_num(ESTDB* db) { return db ? static_cast<int>(db->store->wordCount()) : 0; }

double est_db_size(ESTDB* db) { return db ? static_cast<double>(db->store->logSize()) : 0.0; }

void est_db_set_informer(ESTDB* db, EstInformerFunc func, void* opaque) {
  if (!db) return;
  db->informer = func;
  db->informerOpaque = opaque;
  Inform(db, "status");
}

void est_db_set_ecode(ESTDB* db, int ecode) {
  if (db) db->ecode = ecode;
}

int est_db_iter_init(ESTDB* db, const char* prev) {
  if (!db) return 0;
  db->iteratorId = 0;
  if (prev) {
    if (auto id = db->store->IdOfUri(prev)) db->iteratorId = *id;
  }
  return 1;
}

int est_db_iter_next(ESTDB* db) {
  if (!db) return -1;
  const auto& documents = db->store->documents();
  auto next = documents.upper_bound(db->iteratorId);
  if (next == documents.end()) {
    db->ecode = kErrorNoItem;
    return 0;
  }
  db->iteratorId = next->first;
  return next->first;
}

}  // extern "C"
