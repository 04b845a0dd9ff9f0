#include <gtest/gtest.h>

#include <string>

#include "index_path.h"
#include "job_summary.h"

namespace {

struct IndexPathCase {
  const char* value;     // the configuration value "index"
  const char* expected;  // for the library C:\Tools\Corvidex.dll
};

TEST(IndexPath, ResolvedBesideTheLibraryUnlessTheValueIsAPathOfItsOwn) {
  const std::string configPath = "C:\\Tools\\Corvidex.conf";
  const IndexPathCase cases[] = {
      {"", "C:\\Tools\\cascket"},                           // absent or empty: the default folder
      {"D:\\mail\\idx", "D:\\mail\\idx"},                   // contains ":\": used unchanged
      {"idx\\main", "C:\\Tools\\idx\\main"},                // relative: beside the library
      {"D:/idx", "C:\\Tools\\D:/idx"},                      // no ":\", so relative however it looks
      {"\\\\srv\\share\\idx", "C:\\Tools\\\\\\srv\\share\\idx"},  // no separator added or removed
      {"x:\\", "x:\\"},                                     // ":\" anywhere, also at the end
      {"sub\\a:\\b", "sub\\a:\\b"},                         // ... or in the middle
  };
  for (const auto& c : cases) EXPECT_EQ(ResolveIndexPath(configPath, c.value), c.expected) << "value: " << c.value;
}

TEST(IndexPath, CutsAfterTheLastBackslashOnly) {
  // A dot or a slash in a folder name does not count as a separator.
  EXPECT_EQ(ResolveIndexPath("C:\\Program Files\\Edmax.v2\\plugins/x\\Corvidex.conf", ""),
            "C:\\Program Files\\Edmax.v2\\plugins/x\\cascket");
}

TEST(JobSummary, ElapsedTimeKeepsThreeDigitsOfMilliseconds) {
  const struct {
    unsigned milliseconds;
    const char* line;
  } cases[] = {{1050, "time: 1.050 sec"}, {999, "time: 0.999 sec"}, {5, "time: 0.005 sec"},
               {0, "time: 0.000 sec"},   {4294967295u, "time: 4294967.295 sec"}};
  for (const auto& c : cases) {
    const std::string text = FormatJobSummary(c.milliseconds, 12, 345);
    EXPECT_EQ(text, std::string(c.line) + "\ndoc num: 12\nword num: 345");
  }
}

}  // namespace
