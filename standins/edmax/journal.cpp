#include "journal.h"

namespace {
constexpr std::size_t kFlushThreshold = 256 * 1024;
}

bool Journal::Open(const std::wstring& path) {
  file_ = UniqueFile(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
  return file_.valid();
}

void Journal::Write(std::initializer_list<std::string_view> fields) {
  if (!enabled()) return;
  bool first = true;
  for (std::string_view field : fields) {
    if (!first) pending_ += '\t';
    pending_ += field;
    first = false;
  }
  pending_ += '\n';
  if (pending_.size() >= kFlushThreshold) Flush();
}

void Journal::Flush() {
  if (!enabled() || pending_.empty()) return;
  const char* data = pending_.data();
  std::size_t left = pending_.size();
  while (left > 0) {
    DWORD written = 0;
    if (!WriteFile(file_.get(), data, static_cast<DWORD>(left), &written, nullptr) || written == 0) break;
    data += written;
    left -= written;
  }
  pending_.clear();
}
