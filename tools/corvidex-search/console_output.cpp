#include "console_output.h"

#include <string>

namespace corvidex_search {

namespace {

std::wstring Utf8ToWide(std::string_view utf8) {
  if (utf8.empty()) return {};
  const int length = static_cast<int>(utf8.size());
  const int size = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, nullptr, 0);
  if (size <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(size), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, wide.data(), size);
  return wide;
}

std::string WideToCodePage(const std::wstring& wide, UINT codePage) {
  if (wide.empty()) return {};
  const int length = static_cast<int>(wide.size());
  const int size = WideCharToMultiByte(codePage, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
  if (size <= 0) return {};
  std::string bytes(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(codePage, 0, wide.data(), length, bytes.data(), size, nullptr, nullptr);
  return bytes;
}

// The code page of redirected text: the console's, or without a console the system's ANSI code page.
UINT RedirectedCodePage() {
  const UINT console = GetConsoleOutputCP();
  return console != 0 ? console : GetACP();
}

}  // namespace

CConsoleOutput::CConsoleOutput(DWORD stdHandle) : m_handle(GetStdHandle(stdHandle)) {
  DWORD mode = 0;
  m_console = m_handle != nullptr && m_handle != INVALID_HANDLE_VALUE && GetConsoleMode(m_handle, &mode);
}

void CConsoleOutput::WriteText(std::string_view utf8) const {
  if (m_console) {
    WriteToConsole(utf8);
  } else {
    WriteBytes(WideToCodePage(Utf8ToWide(utf8), RedirectedCodePage()));
  }
}

void CConsoleOutput::WriteUtf8(std::string_view utf8) const {
  if (m_console) {
    WriteToConsole(utf8);
  } else {
    WriteBytes(utf8);
  }
}

void CConsoleOutput::WriteBytes(std::string_view bytes) const {
  if (m_handle == nullptr || m_handle == INVALID_HANDLE_VALUE) return;
  while (!bytes.empty()) {
    DWORD written = 0;
    if (!WriteFile(m_handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) || written == 0) {
      return;  // the reader went away; nothing more can be told
    }
    bytes.remove_prefix(written);
  }
}

void CConsoleOutput::WriteToConsole(std::string_view utf8) const {
  const std::wstring wide = Utf8ToWide(utf8);
  std::wstring_view rest = wide;
  while (!rest.empty()) {
    DWORD written = 0;
    if (!WriteConsoleW(m_handle, rest.data(), static_cast<DWORD>(rest.size()), &written, nullptr) || written == 0) {
      return;
    }
    rest.remove_prefix(written);
  }
}

}  // namespace corvidex_search
