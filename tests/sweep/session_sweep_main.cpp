// session_sweep: runs many HotSync sessions in one process over a scratch installation (see
// sweep_bench.h); started from that installation's hotsync folder.
//   session_sweep faults ROOT KORV_DLL PDB_ARCHIVE [ONLY_FAULT_INDEX]
//   session_sweep hostile ROOT KORV_DLL PDB_ARCHIVE SEED CASES [ONLY_INDEX]
//   session_sweep allocations ROOT KORV_DLL PDB_ARCHIVE [ONLY_ALLOCATION]
// Exit code 0 when every check held, 1 when one failed, 2 for bad arguments, 4 for a crash, 5 for a
// session that did not end in time and 6 for a check of the checked build that fired.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "tests/sweep/allocation_sweep.h"
#include "tests/sweep/crash_reporting.h"
#include "tests/sweep/fault_sweep.h"
#include "tests/sweep/hostile_sweep.h"

using namespace korvet::sweep;

namespace {

// Generous for one session of a few dozen records; a session that runs away takes far longer.
constexpr unsigned kSessionTimeLimitMs = 20000;

bool ParseNumber(const char* text, unsigned long long* value) {
  char* end = nullptr;
  *value = std::strtoull(text, &end, 0);
  return end != text && *end == '\0';
}

}  // namespace

int main(int argc, char** argv) {
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  // KORVET_SWEEP_LIMIT_MS: another time limit per session, to measure one that runs long.
  unsigned limit = kSessionTimeLimitMs;
  if (const char* given = std::getenv("KORVET_SWEEP_LIMIT_MS"))
    limit = static_cast<unsigned>(std::strtoul(given, nullptr, 10));
  InstallCrashReporting();
  const std::string mode = argc > 1 ? argv[1] : "";
  unsigned long long seed = 0, cases = 0, only = 0;
  if (mode == "faults" && (argc == 5 || (argc == 6 && ParseNumber(argv[5], &only)))) {
    SweepBench bench(argv[2], argv[3], argv[4]);
    std::optional<long> single;
    if (argc == 6) single = static_cast<long>(only);
    return RunFaultSweep(bench, limit, single) == 0 ? 0 : 1;
  }
  if (mode == "hostile" && (argc == 7 || argc == 8) && ParseNumber(argv[5], &seed) && ParseNumber(argv[6], &cases) &&
      (argc == 7 || ParseNumber(argv[7], &only))) {
    SweepBench bench(argv[2], argv[3], argv[4]);
    std::optional<std::uint64_t> single;
    if (argc == 8) single = only;
    return RunHostileSweep(bench, seed, cases, single, limit) == 0 ? 0 : 1;
  }
  if (mode == "allocations" && (argc == 5 || (argc == 6 && ParseNumber(argv[5], &only)))) {
    SweepBench bench(argv[2], argv[3], argv[4]);
    std::optional<long> single;
    if (argc == 6) single = static_cast<long>(only);
    return RunAllocationSweep(bench, limit, single) == 0 ? 0 : 1;
  }
  std::fprintf(stderr,
               "usage: session_sweep faults ROOT KORV_DLL PDB_ARCHIVE [ONLY_FAULT_INDEX]\n"
               "       session_sweep hostile ROOT KORV_DLL PDB_ARCHIVE SEED CASES [ONLY_INDEX]\n"
               "       session_sweep allocations ROOT KORV_DLL PDB_ARCHIVE [ONLY_ALLOCATION]\n");
  return 2;
}
