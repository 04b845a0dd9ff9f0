#include "message_summary.h"

#include <windows.h>

#include <cstring>

#include "mail_store.h"
#include "text_codec.h"

namespace {

constexpr std::size_t kHeaderReadLimit = 16 * 1024;

bool StartsWithField(const std::string& line, const char* name) {
  const std::size_t length = std::strlen(name);
  return line.size() > length && line[length] == ':' && CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, line.data(),
                                                                        static_cast<int>(length), name,
                                                                        static_cast<int>(length)) == CSTR_EQUAL;
}

std::wstring FieldValue(const std::string& line, const char* name) {
  std::string value = line.substr(std::strlen(name) + 1);
  const auto first = value.find_first_not_of(" \t");
  return WideFrom932(first == std::string::npos ? std::string() : value.substr(first));
}

}  // namespace

MessageSummary SummarizeMessage(const std::wstring& file) {
  MessageSummary summary;
  const auto head = ReadWholeFile(file, kHeaderReadLimit);
  if (!head) return summary;
  // Unfolded header lines up to the first empty line.
  std::string line;
  auto take = [&](const std::string& complete) {
    if (StartsWithField(complete, "Subject")) summary.subject = FieldValue(complete, "Subject");
    if (StartsWithField(complete, "From")) summary.from = FieldValue(complete, "From");
    if (StartsWithField(complete, "Date")) summary.date = FieldValue(complete, "Date");
  };
  std::size_t start = 0;
  while (start < head->size()) {
    auto end = head->find('\n', start);
    if (end == std::string::npos) end = head->size();
    std::string raw = head->substr(start, end - start);
    start = end + 1;
    if (!raw.empty() && raw.back() == '\r') raw.pop_back();
    if (raw.empty()) break;
    if ((raw[0] == ' ' || raw[0] == '\t') && !line.empty()) {
      line += raw;
      continue;
    }
    take(line);
    line = raw;
  }
  take(line);
  return summary;
}
