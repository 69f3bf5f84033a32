// The allocation seam armed from the environment of the HotSync host.
#include "conduit/base/allocation.h"

#include <windows.h>

#include <cstdlib>

namespace korvet::base {
namespace {

constexpr char kFailVariable[] = "KORVET_FAIL_ALLOCATION";
constexpr char kMadeVariable[] = "KORVET_ALLOCATIONS_MADE";

}  // namespace

EnvironmentAllocationFailure::EnvironmentAllocationFailure() {
  char value[32] = {};
  const DWORD length = GetEnvironmentVariableA(kFailVariable, value, sizeof value);
  if (length == 0 || length >= sizeof value) return;
  armed_ = true;
  FailAllocation(std::strtol(value, nullptr, 10));
}

EnvironmentAllocationFailure::~EnvironmentAllocationFailure() {
  if (!armed_) return;
  char made[32] = {};
  wsprintfA(made, "%ld", AllocationsMade());
  FailAllocation(0);
  SetEnvironmentVariableA(kMadeVariable, made);
}

}  // namespace korvet::base
