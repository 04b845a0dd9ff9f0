// The full-text library that the behaviour table checks, loaded at run time like the plug-in loads it: the file
// named by the environment variable ESTRAIER_LIBRARY when it is set, otherwise the stand-in of this build.
#pragma once

#include <string>
#include <vector>

#include "estraier_api.h"

struct LibraryUnderTest {
#define LIBRARY_UNDER_TEST_ENTRY_POINT(name, ret, params) ret(ESTRAIER_CALL* name) params = nullptr;
  ESTRAIER_ENTRY_POINTS(LIBRARY_UNDER_TEST_ENTRY_POINT)
#undef LIBRARY_UNDER_TEST_ENTRY_POINT
  // The free of the run-time library the full-text library allocates with (MSVCRT.dll on Windows).
  void(ESTRAIER_CALL* free)(void* ptr) = nullptr;

  std::string path;                       // the file that was loaded
  std::string loadError;                  // why it could not be loaded; empty when it was
  std::vector<std::string> missingNames;  // entry points it lacks

  // Loads the library and looks up every entry point; true when it loaded (names may still be missing).
  bool Load();
};

// The one loaded library of the test program.
LibraryUnderTest& TheLibrary();
