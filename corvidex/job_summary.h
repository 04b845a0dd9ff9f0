// The text of the box that ends every job.
#pragma once

#include <string>

inline constexpr const char* kJobSummaryCaption = "Information";

// Three lines: "time: " the elapsed seconds with three digits of milliseconds and " sec", "doc num: " and
// "word num: " with the database's counts.
std::string FormatJobSummary(unsigned elapsedMilliseconds, int documentCount, int wordCount);
