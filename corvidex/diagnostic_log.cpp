#include "diagnostic_log.h"

#include <locale>
#include <memory>
#include <stdexcept>

namespace {
// The name of the Japanese locale differs between platforms; the stream library may know none of them.
#if defined(_WIN32)
constexpr const char* kJapaneseLocaleNames[] = {"japanese"};
#else
constexpr const char* kJapaneseLocaleNames[] = {"ja_JP.UTF-8", "ja_JP.utf8", "ja_JP"};
#endif

std::locale JapaneseOrClassicLocale() {
  for (const char* name : kJapaneseLocaleNames) {
    try {
      return std::locale(name);
    } catch (const std::runtime_error&) {
      // Not known here: try the next name.
    }
  }
  return std::locale::classic();
}

// The log switch: built in and on.
constexpr bool kLogEnabled = true;
}  // namespace

bool CDiagnosticLog::Open(const std::string& path) {
  if (path.empty()) return false;
  m_path = path;
  if (m_stream.is_open()) m_stream.close();
  m_stream.imbue(JapaneseOrClassicLocale());
  // Append mode creates a missing file and keeps existing text; the run-time library opens it without denying
  // other processes reading or writing. A failed open is left alone: no second attempt with another mode.
  m_stream.open(path, std::ios::out | std::ios::app);
  return true;
}

bool StartDiagnosticLog(const char* path) {
  static std::unique_ptr<CDiagnosticLog> log;
  if (!kLogEnabled || log) return true;
  log = std::make_unique<CDiagnosticLog>();
  return log->Open(path ? path : "");
}
