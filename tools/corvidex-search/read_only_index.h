// An index database opened for reading through the bound library table, closed on every way out.
#pragma once

#include "estraier_api.h"

namespace corvidex_search {

class CReadOnlyIndex {
 public:
  // Opens the database directory path (system code page) as a reader; Get() is null when that failed.
  CReadOnlyIndex(const CEstraierApi& api, const char* path)
      : m_api(api), m_db(api.est_db_open(path, ESTDBREADER, &m_errorCode)) {}
  ~CReadOnlyIndex() {
    int errorCode = 0;
    if (m_db) m_api.est_db_close(m_db, &errorCode);
  }
  CReadOnlyIndex(const CReadOnlyIndex&) = delete;
  CReadOnlyIndex& operator=(const CReadOnlyIndex&) = delete;

  ESTDB* Get() const { return m_db; }
  // The library's error code of a failed open.
  int ErrorCode() const { return m_errorCode; }

 private:
  const CEstraierApi& m_api;
  int m_errorCode = 0;
  ESTDB* m_db;
};

}  // namespace corvidex_search
