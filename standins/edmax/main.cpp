// edmax-standin.exe: plays the mail client for the plug-ins, for tests, demos and people (see README.md).
#include <windows.h>

#include "command_line.h"
#include "journal.h"
#include "standin_client.h"
#include "text_codec.h"

namespace {

void ReportUsage(const std::wstring& error) {
  const std::string text = Utf8FromWide(error) + "\n";
  DWORD written = 0;
  HANDLE stderrHandle = GetStdHandle(STD_ERROR_HANDLE);
  if (stderrHandle && stderrHandle != INVALID_HANDLE_VALUE) {
    WriteFile(stderrHandle, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  StandinOptions options;
  std::wstring error;
  if (!ParseCommandLine(options, error)) {
    ReportUsage(error);
    return 2;
  }
  Journal journal;
  if (!options.journal.empty() && !journal.Open(options.journal)) {
    ReportUsage(L"cannot write the journal " + options.journal);
    return 2;
  }
  StandinClient client(journal, std::move(options));
  return client.Run(instance);
}
