// Measurements of the last job, in builds with CORVIDEX_TICK_STATS only (for the benchmark): how often the job
// yielded, how long it waited for the dialog's ticks, how long it spent in the full-text library, and how long its
// progress reports to the dialog's controls took.
#pragma once

#ifdef CORVIDEX_TICK_STATS
#include <windows.h>

struct JobStats {
  unsigned yields = 0;
  double tickWaitMilliseconds = 0;
  double databaseMilliseconds = 0;
  double dialogMilliseconds = 0;
};

// The figures of the job under way; a launch resets them.
JobStats& CurrentJobStats();

// Adds the time from its construction to its destruction to a total in milliseconds.
class StopWatch {
 public:
  explicit StopWatch(double& totalMilliseconds) : m_total(totalMilliseconds) { QueryPerformanceCounter(&m_start); }
  ~StopWatch() {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    m_total += 1000.0 * static_cast<double>(now.QuadPart - m_start.QuadPart) / static_cast<double>(frequency.QuadPart);
  }
  StopWatch(const StopWatch&) = delete;
  StopWatch& operator=(const StopWatch&) = delete;

 private:
  double& m_total;
  LARGE_INTEGER m_start;
};

#define CORVIDEX_TIME_DATABASE StopWatch databaseStopWatch(CurrentJobStats().databaseMilliseconds)
#define CORVIDEX_TIME_DIALOG StopWatch dialogStopWatch(CurrentJobStats().dialogMilliseconds)
#else
#define CORVIDEX_TIME_DATABASE static_cast<void>(0)
#define CORVIDEX_TIME_DIALOG static_cast<void>(0)
#endif
