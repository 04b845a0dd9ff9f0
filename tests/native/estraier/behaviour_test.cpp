// The behaviour table of the full-text library under GoogleTest: one test per case, against the library that
// ESTRAIER_LIBRARY names or else this build's stand-in.
#include <gtest/gtest.h>

#include "behaviour_case.h"
#include "scratch_folder.h"

namespace {

class BehaviourTest : public testing::Test {
 public:
  explicit BehaviourTest(const BehaviourCase& behaviour) : behaviour_(behaviour) {}
  void TestBody() override {
    LibraryUnderTest& lib = TheLibrary();
    ASSERT_TRUE(lib.loadError.empty()) << lib.path << ": " << lib.loadError;
    ScratchFolder scratch(behaviour_.name);
    CaseContext ctx(lib, scratch.path());
    behaviour_.run(ctx);
    for (const auto& failure : ctx.failures()) ADD_FAILURE() << failure;
  }

 private:
  const BehaviourCase& behaviour_;
};

const bool registered = [] {
  TheLibrary().Load();
  for (const auto& behaviour : BehaviourCases())
    testing::RegisterTest("EstraierBehaviour", behaviour.name, nullptr, nullptr, __FILE__, __LINE__,
                          [&behaviour]() -> testing::Test* { return new BehaviourTest(behaviour); });
  return true;
}();

}  // namespace
