// The allocation sweep: a small standard session (two settings files, a few reports, retrieval and
// deletion on) is run once cleanly to count the allocations Korv.dll makes in it, then once per
// allocation with that one failing, from the same installation each time. Out of memory anywhere may
// fail the session, but never quietly: after each run the result is not 0 or every file is on the
// handheld whole and every report saved, and no report is lost.
#pragma once

#include <optional>

#include "tests/sweep/sweep_bench.h"

namespace korvet::sweep {

// The number of failed checks; prints what it injected and checked.
// only: that allocation number alone (as printed).
int RunAllocationSweep(SweepBench& bench, unsigned timeLimitMs, std::optional<long> only = std::nullopt);

}  // namespace korvet::sweep
