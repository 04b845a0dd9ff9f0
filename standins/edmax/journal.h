// The journal: one line per event, tab-separated fields, UTF-8. Lines are buffered and written in blocks, because a
// plug-in's job may cause hundreds of thousands of them; Flush writes what is pending.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

#include "unique_handle.h"

class Journal {
 public:
  Journal() = default;
  Journal(const Journal&) = delete;
  Journal& operator=(const Journal&) = delete;
  ~Journal() { Flush(); }

  // Starts a new journal file at path (replacing one that exists). Without a successful Open nothing is written.
  bool Open(const std::wstring& path);
  bool enabled() const { return file_.valid(); }

  // Writes one line of fields that are already escaped (see journal_text.h).
  void Write(std::initializer_list<std::string_view> fields);
  void Flush();

 private:
  UniqueFile file_;
  std::string pending_;
};
