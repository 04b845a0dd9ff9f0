// The period of the pipe server's polling timer, from the configuration key "PollingTime".
#pragma once

#include <string>

namespace pickwire {

constexpr char kPollingTimeKey[] = "PollingTime";
constexpr int kDefaultPollingMs = 500;

// The period in milliseconds that the configured text gives: empty text (key absent or empty) gives the default;
// any other text is read like atoi: leading white space skipped, an optional sign, decimal digits up to the first
// other character, 0 when there are none, values beyond the 32-bit signed range clamped to its limits.
int PollingPeriodFromSetting(const std::string& setting);

}  // namespace pickwire
