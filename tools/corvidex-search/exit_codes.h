// The exit codes of corvidex-search; the usage text lists them for people and scripts.
#pragma once

namespace corvidex_search {

enum ExitCode : int {
  kExitHits = 0,           // hits were listed (and, with --open, the hit was sent to Pickwire)
  kExitNoHits = 1,         // the search found nothing
  kExitBadArguments = 2,   // the command line is wrong
  kExitNoIndex = 3,        // no index could be opened or searched where the configuration or --index says
  kExitNoLibrary = 4,      // estraier.dll (or its run-time library) is missing or lacks entry points
  kExitHitOutOfRange = 5,  // --open names a hit beyond those found
  kExitNotDelivered = 6,   // Pickwire is not running, or the request could not be written to its pipe
  kExitNotSendable = 7,    // the hit's URI does not make a request that Pickwire accepts
};

}  // namespace corvidex_search
