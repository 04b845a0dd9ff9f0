#include "edmax_api.h"

bool CEdmaxApi::Bind() {
  const HMODULE client = GetModuleHandleA(nullptr);
  if (!client) return false;
#define EDMAX_API_BIND(name, type)                                               \
  name = reinterpret_cast<type>(reinterpret_cast<void*>(GetProcAddress(client, #name))); \
  if (!name) return false;
  EDMAX_API_FUNCTIONS(EDMAX_API_BIND)
#undef EDMAX_API_BIND
  return true;
}
