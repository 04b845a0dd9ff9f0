#include "show_last_error.h"

#include <string>

void ShowLastError(HWND owner) {
  const DWORD code = GetLastError();
  char* message = nullptr;
  const DWORD length = FormatMessageA(
      FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_ALLOCATE_BUFFER, nullptr, code,
      MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<char*>(&message), 0, nullptr);
  const std::string caption = length != 0 && message ? std::string(message, length) : "error " + std::to_string(code);
  MessageBoxA(owner, "ERROR", caption.c_str(), MB_OK);
  if (message) LocalFree(message);
}
