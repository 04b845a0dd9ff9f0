#include "library_under_test.h"

#include <cstdlib>

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace {

#if defined(_WIN32)
// The stand-in beside the test program.
std::string DefaultPath() {
  char module[MAX_PATH];
  DWORD length = GetModuleFileNameA(nullptr, module, MAX_PATH);
  std::string path(module, length);
  return path.substr(0, path.find_last_of("\\/") + 1) + "estraier.dll";
}
void* OpenLibrary(const std::string& path, std::string& error) {
  HMODULE module = LoadLibraryA(path.c_str());
  if (!module) error = "LoadLibrary failed with error " + std::to_string(GetLastError());
  return module;
}
void* Symbol(void* module, const char* name) {
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(module), name));
}
void* RuntimeFree() { return Symbol(LoadLibraryA("MSVCRT.dll"), "free"); }
#else
std::string DefaultPath() { return std::string(MAILINDEX_BIN_DIR) + "/libestraier.so"; }
void* OpenLibrary(const std::string& path, std::string& error) {
  void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!module) error = dlerror();
  return module;
}
void* Symbol(void* module, const char* name) { return dlsym(module, name); }
// The library and the process share one allocator natively.
void* RuntimeFree() { return dlsym(RTLD_DEFAULT, "free"); }
#endif

}  // namespace

bool LibraryUnderTest::Load() {
  const char* configured = std::getenv("ESTRAIER_LIBRARY");
  path = configured && *configured ? configured : DefaultPath();
  void* module = OpenLibrary(path, loadError);
  if (!module) return false;
#define LIBRARY_UNDER_TEST_BIND(name, ret, params)                           \
  name = reinterpret_cast<decltype(name)>(Symbol(module, #name));            \
  if (!name) missingNames.push_back(#name);
  ESTRAIER_ENTRY_POINTS(LIBRARY_UNDER_TEST_BIND)
#undef LIBRARY_UNDER_TEST_BIND
  free = reinterpret_cast<decltype(free)>(RuntimeFree());
  if (!free) missingNames.push_back("free (run-time library)");
  return true;
}

LibraryUnderTest& TheLibrary() {
  static LibraryUnderTest library;
  return library;
}
