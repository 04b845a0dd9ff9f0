// The stand-in's command line.
#pragma once

#include <string>
#include <vector>

struct StandinOptions {
  std::wstring store;                 // --store DIR
  std::vector<std::wstring> plugins;  // --plugin DLL, in order
  std::wstring journal;               // --journal FILE
  std::wstring script;                // --script FILE; empty: a person drives the client
  std::string withhold;               // --withhold NAME
};

// Reads the process's command line. False with a reason for an unknown or incomplete option or no --store.
bool ParseCommandLine(StandinOptions& options, std::wstring& error);
