#include "job_stats.h"

#ifdef CORVIDEX_TICK_STATS
JobStats& CurrentJobStats() {
  static JobStats stats;
  return stats;
}
#endif
