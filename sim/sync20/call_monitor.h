// Counts the calls of each exported Sync Manager operation and fails chosen calls on request.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace korvet::sim {

inline constexpr unsigned kKilledExitCode = 86;

class CallMonitor {
 public:
  // Whether the name is one of the exported Sync Manager operations.
  static bool IsOperation(const std::string& operation);

  // Counts one call; true with *code set when this call is to fail.
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
  // Returns a status code (0 or kSyncErrBadArgument / kSyncErrUnknownOperation).
  long FailCall(const std::string& operation, long nthCall, long code);
  void ClearFailures() {
    failures_.clear();
    kills_.clear();
  }
  // The nth call of the operation from now ends the process at once, with exit code kKilledExitCode,
  // as a crash of the host would: nothing is written back or closed.
  long KillAtCall(const std::string& operation, long nthCall);

 private:
  struct Failure {
    std::string operation;
    long callsLeft;  // the call that makes this 0 fails
    long code;
  };
  std::map<std::string, long> counts_;
  std::vector<Failure> failures_;
  std::vector<Failure> kills_;  // code unused
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
