#include "conduit/base/allocation.h"

namespace korvet::base {
namespace {

long g_countdown = 0;  // the conduit runs on one thread

}  // namespace

void FailAllocation(long nth) { g_countdown = nth > 0 ? nth : 0; }

bool AllocationRefused() {
  if (g_countdown == 0) return false;
  return --g_countdown == 0;
}

}  // namespace korvet::base
