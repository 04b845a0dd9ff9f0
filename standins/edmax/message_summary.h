// The list columns of a message: subject, sender and date, as they stand in its header (not decoded).
#pragma once

#include <string>

struct MessageSummary {
  std::wstring subject;
  std::wstring from;
  std::wstring date;
};

MessageSummary SummarizeMessage(const std::wstring& file);
