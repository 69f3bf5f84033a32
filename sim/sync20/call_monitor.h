// Counts the calls of each exported Sync Manager operation and plants faults in chosen calls on request.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "sim/sync20/sync20_control.h"

namespace korvet::sim {

inline constexpr unsigned kKilledExitCode = 86;

class CallMonitor {
 public:
  // Whether the name is one of the exported Sync Manager operations.
  static bool IsOperation(const std::string& operation);

  // Counts one call; true with *code set when this call is to fail. A call that a kill hits does not
  // return.
  bool Intercept(const char* operation, long* code);

  long Count(const std::string& operation) const;
  void ResetCounts() {
    counts_.clear();
    ticks_ = 0;
    bytes_ = 0;
  }
  // Record bytes moved to or from the handheld.
  void AddBytes(unsigned long bytes) { bytes_ += bytes; }
  long long Bytes() const { return bytes_; }
  // Time spent in the operations, in performance-counter ticks, and as microseconds.
  void AddTicks(long long ticks) { ticks_ += ticks; }
  long Microseconds() const;
  // The nth call of the operation from now gets a fault of that kind (SimInjectFault). Returns 0,
  // kSyncErrBadArgument or kSyncErrUnknownOperation.
  long InjectFault(long kind, const std::string& operation, long nthCall, long code);
  void ClearFailures() { faults_.clear(); }

 private:
  struct Fault {
    SimFaultKind kind;
    std::string operation;
    long callsLeft;  // the call that makes this 0 is hit
    long code;
  };
  std::map<std::string, long> counts_;
  std::vector<Fault> faults_;
  long long ticks_ = 0;
  long long bytes_ = 0;
};

// Adds the time from its construction to its destruction to the monitor's.
class CallTimer {
 public:
  explicit CallTimer(CallMonitor& monitor);
  ~CallTimer();
  CallTimer(const CallTimer&) = delete;
  CallTimer& operator=(const CallTimer&) = delete;

 private:
  CallMonitor& monitor_;
  long long start_;
};

}  // namespace korvet::sim
