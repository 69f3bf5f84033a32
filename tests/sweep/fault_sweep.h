// The fault-injection sweep: a standard session is run cleanly while the stand-in counts its Sync
// Manager calls; then, from the same installation each time, once per call with that call failing,
// with a communications error and with "not found"; each faulty session is followed by a clean one
// that must complete the work.
#pragma once

#include <optional>

#include "tests/sweep/sweep_bench.h"

namespace korvet::sweep {

// The number of failed checks; prints what it injected and checked.
// only: that fault index alone (as printed), both codes.
int RunFaultSweep(SweepBench& bench, unsigned timeLimitMs, std::optional<long> only = std::nullopt);

}  // namespace korvet::sweep
