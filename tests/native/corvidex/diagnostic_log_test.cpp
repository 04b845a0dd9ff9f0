// The diagnostic log: created empty when missing, existing text kept, nothing written, failures silent.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "diagnostic_log.h"

namespace {
namespace fs = std::filesystem;

std::string Contents(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

class DiagnosticLog : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/corvidex-log-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir = pattern;
  }
  void TearDown() override { fs::remove_all(dir); }
  fs::path dir;
};

TEST_F(DiagnosticLog, CreatesAMissingFileEmptyAndKeepsExistingText) {
  const fs::path missing = dir / "Corvidex.log";
  const fs::path existing = dir / "existing.log";
  std::ofstream(existing, std::ios::binary) << "earlier text\r\n";
  {
    CDiagnosticLog created, kept;
    EXPECT_TRUE(created.Open(missing.string()));
    EXPECT_TRUE(created.IsOpen());
    EXPECT_TRUE(kept.Open(existing.string()));
    EXPECT_TRUE(kept.IsOpen());
  }
  EXPECT_TRUE(fs::exists(missing));
  EXPECT_EQ(fs::file_size(missing), 0u);
  EXPECT_EQ(Contents(existing), "earlier text\r\n");
}

TEST_F(DiagnosticLog, AnUnopenablePathIsNotAFailure) {
  CDiagnosticLog log;
  EXPECT_TRUE(log.Open((dir / "no such folder" / "Corvidex.log").string()));
  EXPECT_FALSE(log.IsOpen());
  EXPECT_FALSE(fs::exists(dir / "no such folder"));
  CDiagnosticLog unnamed;
  EXPECT_FALSE(unnamed.Open(""));
}

// The plug-in's log starts once: a later start changes nothing.
TEST_F(DiagnosticLog, StartsOnce) {
  EXPECT_FALSE(StartDiagnosticLog(""));
  EXPECT_TRUE(StartDiagnosticLog((dir / "late.log").string().c_str()));
  EXPECT_FALSE(fs::exists(dir / "late.log"));
}
}  // namespace
