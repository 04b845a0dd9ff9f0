#include "polling_time.h"

#include <cstdint>
#include <limits>

namespace pickwire {

int PollingPeriodFromSetting(const std::string& setting) {
  if (setting.empty()) return kDefaultPollingMs;
  std::size_t pos = 0;
  auto isSpace = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
  while (pos < setting.size() && isSpace(setting[pos])) ++pos;
  bool negative = false;
  if (pos < setting.size() && (setting[pos] == '+' || setting[pos] == '-')) negative = setting[pos++] == '-';
  // Accumulated as a magnitude that stops growing once it is past the range, so no overflow can occur.
  constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<int>::max()} + 1;
  std::int64_t magnitude = 0;
  for (; pos < setting.size() && setting[pos] >= '0' && setting[pos] <= '9'; ++pos) {
    magnitude = magnitude * 10 + (setting[pos] - '0');
    if (magnitude > kLimit) magnitude = kLimit;
  }
  if (negative) return static_cast<int>(-magnitude);  // -2^31 at the most
  return magnitude > std::numeric_limits<int>::max() ? std::numeric_limits<int>::max() : static_cast<int>(magnitude);
}

}  // namespace pickwire
