// The plug-in's diagnostic log: a file held open for appending. Nothing is written to it.
#pragma once

#include <fstream>
#include <string>

class CDiagnosticLog {
 public:
  CDiagnosticLog() = default;
  CDiagnosticLog(const CDiagnosticLog&) = delete;
  CDiagnosticLog& operator=(const CDiagnosticLog&) = delete;

  // Opens path for appending, creating it empty when it is missing and leaving any text in it unchanged. The
  // stream uses the Japanese locale where the platform has one, the classic locale otherwise. A path that cannot
  // be opened (no such drive, no access) leaves the stream closed; that is not reported. False only for an empty
  // path.
  bool Open(const std::string& path);

  bool IsOpen() const { return m_stream.is_open(); }
  const std::string& Path() const { return m_path; }

 private:
  std::string m_path;
  std::ofstream m_stream;
};

// Starts the plug-in's one log with path, once: later calls return true and change nothing. The log lives until
// the plug-in library is unloaded. Returns false only for an empty path (the log then stays without a file).
bool StartDiagnosticLog(const char* path);
