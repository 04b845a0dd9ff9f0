#include "job_summary.h"

#include <cstdio>

std::string FormatJobSummary(unsigned elapsedMilliseconds, int documentCount, int wordCount) {
  char text[128];
  std::snprintf(text, sizeof text, "time: %u.%03u sec\ndoc num: %d\nword num: %d", elapsedMilliseconds / 1000,
                elapsedMilliseconds % 1000, documentCount, wordCount);
  return text;
}
