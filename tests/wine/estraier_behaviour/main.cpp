// estraier-behaviour.exe: the behaviour table of the full-text library as a Windows program.
//   estraier-behaviour.exe [SCRATCH_ROOT [CASE_NAME]]
// Loads the library that ESTRAIER_LIBRARY names, else estraier.dll beside the program, runs every case (or the one
// named) in its own folder below SCRATCH_ROOT (default: the temporary folder), prints one line per case and the
// failures, and ends with "N passed, N failed". Exit status: 0 all passed, 1 a case failed, 2 no library.
#include <cstdio>
#include <string>

#include "behaviour_case.h"
#include "scratch_folder.h"

int main(int argc, char** argv) {
  const std::string root = argc > 1 ? argv[1] : "";
  const std::string only = argc > 2 ? argv[2] : "";
  LibraryUnderTest& lib = TheLibrary();
  if (!lib.Load()) {
    std::printf("cannot load %s: %s\n", lib.path.c_str(), lib.loadError.c_str());
    return 2;
  }
  std::printf("library: %s\n", lib.path.c_str());
  int passed = 0, failed = 0;
  for (const auto& behaviour : BehaviourCases()) {
    if (!only.empty() && only != behaviour.name) continue;
    ScratchFolder scratch(behaviour.name, root);
    CaseContext ctx(lib, scratch.path());
    behaviour.run(ctx);
    if (ctx.failures().empty()) {
      ++passed;
      std::printf("[  OK  ] %s\n", behaviour.name);
    } else {
      ++failed;
      std::printf("[FAILED] %s\n", behaviour.name);
      for (const auto& failure : ctx.failures()) std::printf("  %s\n", failure.c_str());
    }
    std::fflush(stdout);
  }
  std::printf("%d passed, %d failed\n", passed, failed);
  return failed ? 1 : 0;
}
