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
bool BindSymbol(const CModuleLoader& loader, ModuleHandle module, const char* name, Function& entryPoint) {
  void* address = module ? loader.findSymbol(module, name) : nullptr;
  if (!address) return false;
  entryPoint = reinterpret_cast<Function>(address);
  return true;
}
}  // namespace

const CModuleLoader& CModuleLoader::System() {
  static constexpr CModuleLoader kSystem{[] { return OpenModule(kSearchLibraryName); }, &OpenRuntimeModule,
                                         &FindSymbol, &CloseModule};
  return kSystem;
}

CEstraierApi::~CEstraierApi() { FreeLibraries(); }

void CEstraierApi::LoadLibraries(const CModuleLoader& moduleLoader) {
  loader = &moduleLoader;
  if (!searchLibrary) searchLibrary = loader->openSearchLibrary();
  if (!runtimeLibrary) runtimeLibrary = loader->openRuntimeLibrary();
}

bool CEstraierApi::Bind() {
#define ESTRAIER_BIND_ENTRY_POINT(name, ret, params) \
  if (!BindSymbol(*loader, searchLibrary, #name, name)) return false;
  ESTRAIER_ENTRY_POINTS(ESTRAIER_BIND_ENTRY_POINT)
#undef ESTRAIER_BIND_ENTRY_POINT
  return BindSymbol(*loader, runtimeLibrary, "free", free);
}

void CEstraierApi::FreeLibraries() {
  // The full-text library may still hold memory of the run-time library, so it goes first.
  if (searchLibrary) {
    loader->closeModule(searchLibrary);
    searchLibrary = nullptr;
  }
  if (runtimeLibrary) {
    loader->closeModule(runtimeLibrary);
    runtimeLibrary = nullptr;
  }
}
