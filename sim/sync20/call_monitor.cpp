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
  for (Failure& kill : kills_) {
    if (kill.operation == operation && --kill.callsLeft == 0) TerminateProcess(GetCurrentProcess(), kKilledExitCode);
  }
  bool fail = false;
  // Every pending failure of this operation counts the call; the first one that comes due wins and
  // the others go on counting.
  for (auto it = failures_.begin(); it != failures_.end();) {
    if (it->operation == operation && --it->callsLeft == 0) {
      if (!fail) {
        fail = true;
        *code = it->code;
      }
      it = failures_.erase(it);
    } else {
      ++it;
    }
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

long CallMonitor::KillAtCall(const std::string& operation, long nthCall) {
  if (!IsOperation(operation)) return kSyncErrUnknownOperation;
  if (nthCall < 1) return kSyncErrBadArgument;
  kills_.push_back({operation, nthCall, 0});
  return 0;
}

long CallMonitor::FailCall(const std::string& operation, long nthCall, long code) {
  if (!IsOperation(operation)) return kSyncErrUnknownOperation;
  if (nthCall < 1) return kSyncErrBadArgument;
  failures_.push_back({operation, nthCall, code});
  return 0;
}

}  // namespace korvet::sim
