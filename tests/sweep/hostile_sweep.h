// The hostile-input sweep: cases generated from a seed (handheld records, list files, damaged copies
// beside the settings files), each run as one session under the checks of session_checks.h.
#pragma once

#include <cstdint>
#include <optional>

#include "tests/sweep/sweep_bench.h"

namespace korvet::sweep {

// Runs cases 0 to cases-1 of the seed (or only the one given); returns the number that failed.
int RunHostileSweep(SweepBench& bench, std::uint64_t seed, std::uint64_t cases, std::optional<std::uint64_t> only,
                    unsigned timeLimitMs);

}  // namespace korvet::sweep
