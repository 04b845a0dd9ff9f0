#include "estraier_api.h"

// The only platform-dependent part of the binding: how a module is loaded, searched and freed, and its names.
#if defined(_WIN32)
#include <windows.h>

namespace {
constexpr const char* kSearchLibraryName = "estraier.dll";
// The full-text library allocates with this run-time library, so its free must release what it returns.
constexpr const char* kRuntimeLibraryName = "MSVCRT.dll";

ModuleHandle OpenModule(const char* name) { return LoadLibraryA(name); }
ModuleHandle OpenRuntimeModule() { return OpenModule(kRuntimeLibraryName); }
void* FindSymbol(ModuleHandle module, const char* name) {
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(module), name));
}
void CloseModule(ModuleHandle module) { FreeLibrary(static_cast<HMODULE>(module)); }
}  // namespace
#else
#include <dlfcn.h>

namespace {
constexpr const char* kSearchLibraryName = "libestraier.so";

ModuleHandle OpenModule(const char* name) { return dlopen(name, RTLD_NOW | RTLD_LOCAL); }
// Natively the library and the process share one allocator: the free found in the process's global scope is the
// one that matches its malloc (also when a sanitizer replaces the allocator).
ModuleHandle OpenRuntimeModule() { return dlopen(nullptr, RTLD_NOW); }
void* FindSymbol(ModuleHandle module, const char* name) { return dlsym(module, name); }
void CloseModule(ModuleHandle module) { dlclose(module); }
}  // namespace
#endif

namespace {
// Stores a looked-up address in an entry point of any function pointer type; false when the name is missing.
template <typename Function>
bool BindSymbol(ModuleHandle module, const char* name, Function& entryPoint) {
  void* address = module ? FindSymbol(module, name) : nullptr;
  if (!address) return false;
  entryPoint = reinterpret_cast<Function>(address);
  return true;
}
}  // namespace

CEstraierApi::~CEstraierApi() { FreeLibraries(); }

void CEstraierApi::LoadLibraries() {
  if (!searchLibrary) searchLibrary = OpenModule(kSearchLibraryName);
  if (!runtimeLibrary) runtimeLibrary = OpenRuntimeModule();
}

bool CEstraierApi::Bind() {
#define ESTRAIER_BIND_ENTRY_POINT(name, ret, params) \
  if (!BindSymbol(searchLibrary, #name, name)) return false;
  ESTRAIER_ENTRY_POINTS(ESTRAIER_BIND_ENTRY_POINT)
#undef ESTRAIER_BIND_ENTRY_POINT
  return BindSymbol(runtimeLibrary, "free", free);
}

void CEstraierApi::FreeLibraries() {
  // The full-text library may still hold memory of the run-time library, so it goes first.
  if (searchLibrary) {
    CloseModule(searchLibrary);
    searchLibrary = nullptr;
  }
  if (runtimeLibrary) {
    CloseModule(runtimeLibrary);
    runtimeLibrary = nullptr;
  }
}
