// The information record that the mail client hands to a plug-in with event 1000.
#pragma once

#include <cstddef>

// The client owns the record; a plug-in writes exactly the fields below and nothing else. The record reaches at
// least to offset 21384 (the last single byte written).
struct PluginInfo;

constexpr std::size_t kPluginInfoMinimumSize = 21385;

struct PluginIdentity {
  const char* name;  // "Corvidex" or "Pickwire"; written to both name slots
};

// Writes the plug-in's identity into the record at its fixed offsets (see plugin_info.cpp).
void FillPluginInfo(void* record, const PluginIdentity& identity);
