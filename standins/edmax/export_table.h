// The export name table of a loaded module, read and changed in memory.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// The names that GetProcAddress finds in module, in table order.
std::vector<std::string> ExportedNames(HMODULE module);

// Takes name out of module's export name table, so that GetProcAddress(module, name) fails from now on; the
// function stays in the address table (reachable by ordinal). The table stays sorted, so every other name is still
// found. False when the module has no such name or the table cannot be made writable (GetLastError tells).
bool WithholdExport(HMODULE module, const char* name);
