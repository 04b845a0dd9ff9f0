// The polling period that a "PollingTime" setting gives.
#include "polling_time.h"

#include <gtest/gtest.h>

#include <climits>

TEST(PickwirePollingTime, ReadLikeAtoiWithDefaultForEmpty) {
  const struct {
    const char* setting;
    int period;
  } cases[] = {
      {"", 500},          {"1000", 1000},       {"50", 50},
      {"  \t250", 250},   {"+75", 75},          {"-20", -20},
      {"0", 0},           {"abc", 0},           {"120ms", 120},
      {"1e3", 1},         {"99999999999", INT_MAX}, {"-99999999999", INT_MIN},
      {"2147483647", INT_MAX}, {"-2147483648", INT_MIN}, {"2147483648", INT_MAX},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(pickwire::PollingPeriodFromSetting(c.setting), c.period) << '"' << c.setting << '"';
  }
}
