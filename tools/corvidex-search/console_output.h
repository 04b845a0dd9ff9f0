// Writing the program's UTF-8 texts to standard output or standard error in the form the reader expects.
#pragma once

#include <windows.h>

#include <string_view>

namespace corvidex_search {

class CConsoleOutput {
 public:
  // stdHandle: STD_OUTPUT_HANDLE or STD_ERROR_HANDLE.
  explicit CConsoleOutput(DWORD stdHandle);

  // Text for people. On a console it is written as UTF-16 (WriteConsoleW), so that it reads right whatever the
  // console's code page; redirected it becomes bytes in the console's output code page, or in the system's ANSI
  // code page when the program has no console. Characters that code page lacks become '?'.
  void WriteText(std::string_view utf8) const;
  // Text for programs (--json): UTF-8 bytes when redirected; on a console as WriteText, to be readable.
  void WriteUtf8(std::string_view utf8) const;

 private:
  void WriteBytes(std::string_view bytes) const;
  void WriteToConsole(std::string_view utf8) const;

  HANDLE m_handle;
  bool m_console;
};

}  // namespace corvidex_search
