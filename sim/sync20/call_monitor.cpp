#include "sim/sync20/call_monitor.h"

#include <windows.h>

#include <algorithm>

#include "sim/sync20/operation_names.h"
#include "sim/sync20/sync20_errors.h"

namespace korvet::sim {

bool CallMonitor::IsOperation(const std::string& operation) {
  return std::find(kSyncOperationNames.begin(), kSyncOperationNames.end(), operation) != kSyncOperationNames.end();
}

bool CallMonitor::Intercept(const char* operation, long* code) {
  ++counts_[operation];
  bool fail = false;
  // Every pending fault of this operation counts the call; of the failures that come due the first
  // one wins.
  for (auto it = faults_.begin(); it != faults_.end();) {
    if (it->operation != operation || --it->callsLeft != 0) {
      ++it;
      continue;
    }
    switch (it->kind) {
      case kSimFaultKill:
        TerminateProcess(GetCurrentProcess(), kKilledExitCode);
        break;
      case kSimFaultFail:
        if (!fail) *code = it->code;
        fail = true;
        break;
    }
    it = faults_.erase(it);
  }
  return fail;
}

long CallMonitor::Count(const std::string& operation) const {
  if (!IsOperation(operation)) return -1;
  const auto it = counts_.find(operation);
  return it == counts_.end() ? 0 : it->second;
}

long CallMonitor::Microseconds() const {
  LARGE_INTEGER frequency{};
  QueryPerformanceFrequency(&frequency);
  return static_cast<long>(ticks_ * 1000000 / frequency.QuadPart);
}

namespace {
long long Ticks() {
  LARGE_INTEGER now{};
  QueryPerformanceCounter(&now);
  return now.QuadPart;
}
}  // namespace

CallTimer::CallTimer(CallMonitor& monitor) : monitor_(monitor), start_(Ticks()) {}

CallTimer::~CallTimer() { monitor_.AddTicks(Ticks() - start_); }

long CallMonitor::InjectFault(long kind, const std::string& operation, long nthCall, long code) {
  if (!IsOperation(operation)) return kSyncErrUnknownOperation;
  if (nthCall < 1 || kind < kSimFaultFail || kind > kSimFaultLastKind) return kSyncErrBadArgument;
  faults_.push_back({static_cast<SimFaultKind>(kind), operation, nthCall, code});
  return 0;
}

}  // namespace korvet::sim
