#include "estraier_db.h"

#include <cstring>
#include <string>

#include "estraier_objects.h"

#if defined(_WIN32)
#include <windows.h>
#endif

namespace {
constexpr const char* kUriScheme = "cvdx:";
constexpr const char* kFolderExpressionHead = "@uri ISTRBW ";  // begins with, ignoring case

// Whether message begins with prefix, ignoring case: under the system's default locale on Windows, ASCII letters
// elsewhere. A message shorter than the prefix does not match.
bool BeginsWithIgnoringCase(const char* message, const char* prefix) {
  const std::size_t length = std::strlen(prefix);
  for (std::size_t i = 0; i < length; ++i) {
    if (message[i] == '\0') return false;
  }
#if defined(_WIN32)
  const int count = static_cast<int>(length);
  return CompareStringA(LOCALE_SYSTEM_DEFAULT, NORM_IGNORECASE, message, count, prefix, count) == CSTR_EQUAL;
#else
  auto lower = [](unsigned char c) { return (c >= 'A' && c <= 'Z') ? c + ('a' - 'A') : c; };
  for (std::size_t i = 0; i < length; ++i) {
    if (lower(static_cast<unsigned char>(message[i])) != lower(static_cast<unsigned char>(prefix[i]))) return false;
  }
  return true;
#endif
}
}  // namespace

CEstraierDb::CEstraierDb(const CModuleLoader& loader) {
  m_api.LoadLibraries(loader);
  m_loaded = m_api.Bind();
}

CEstraierDb::~CEstraierDb() {
  // The observer may be half destroyed by now (it usually owns this object): it hears nothing more.
  m_informer = nullptr;
  try {
    Close();
  } catch (...) {
    // Nothing may stop the libraries from being freed below.
    m_db = nullptr;
  }
  m_api.FreeLibraries();
}

bool CEstraierDb::Open(const char* path) {
  if (m_db) return true;
  if (!m_loaded || !path) return false;
  m_db = m_table->est_db_open(path, ESTDBWRITER | ESTDBCREAT | ESTDBLARGE, &m_errorCode);
  if (!m_db) m_db = m_table->est_db_open(path, ESTDBWRITER, &m_errorCode);
  return m_db != nullptr;
}

bool CEstraierDb::Close() {
  if (!m_db) return true;
  ESTDB* const db = m_db;
  m_db = nullptr;  // the library releases the handle whatever it reports
  return m_table->est_db_close(db, &m_errorCode) != 0;
}

void CEstraierDb::SetInformer(IInformerObserver* observer) {
  m_informer = observer;
  if (m_db) m_table->est_db_set_informer(m_db, &CEstraierDb::InformerProc, this);
}

void ESTRAIER_CALL CEstraierDb::InformerProc(const char* message, void* opaque) {
  auto* self = static_cast<CEstraierDb*>(opaque);
  if (!self || !self->m_informer || !message) return;
  if (BeginsWithIgnoringCase(message, "flushing")) {
    self->m_informer->OnInform(message, IInformerObserver::kFlushingStage);
  }
  if (BeginsWithIgnoringCase(message, "closing")) {
    self->m_informer->OnInform(message, IInformerObserver::kClosingStage);
  }
}

int* CEstraierDb::SearchFolder(const char* folder, int* count) {
  int ignoredCount = 0;
  int& hits = count ? *count : ignoredCount;
  hits = 0;
  // An empty prefix would match every document of the index: refuse it rather than hand out the whole index.
  if (!m_db || !folder || *folder == '\0') return nullptr;

  std::string expression = kFolderExpressionHead;
  expression += kUriScheme;
  expression += folder;
  CEstCondition condition(*m_table, m_table->est_cond_new());
  if (!condition.Get()) return nullptr;
  m_table->est_cond_add_attr(condition.Get(), expression.c_str());
  int* ids = m_table->est_db_search(m_db, condition.Get(), &hits, nullptr);
  if (!ids) hits = 0;
  return ids;
}

char* CEstraierDb::GetDocUri(int id) {
  if (!m_db) return nullptr;
  return m_table->est_db_get_doc_attr(m_db, id, "@uri");
}

void CEstraierDb::FreeMemory(void* memory) {
  if (memory && m_loaded) m_table->free(memory);
}

void CEstraierDb::RemoveDoc(int id) {
  if (m_db) m_table->est_db_out_doc(m_db, id, ESTODCLEAN);
}

void CEstraierDb::Flush() {
  if (m_db) m_table->est_db_flush(m_db, -1);
}

int CEstraierDb::GetDocNum() { return m_db ? m_table->est_db_doc_num(m_db) : 0; }

int CEstraierDb::GetWordNum() { return m_db ? m_table->est_db_word_num(m_db) : 0; }
