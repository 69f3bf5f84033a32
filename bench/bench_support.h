// What the scenario runner and the baseline share: the installation they sit in, a stopwatch, the
// process's memory figures, the stand-in's call counters, and the "key value" lines that
// scripts/bench reads.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include <windows.h>

namespace korvet::bench {

inline constexpr const char* kKorvetDatabase = "KORVETDatabaseDB";

// The folder of the running program: the stand-in installation it was copied into.
std::string ProgramFolder();

// Wall-clock time from construction, from the performance counter.
class Stopwatch {
 public:
  Stopwatch();
  double Seconds() const;

 private:
  LARGE_INTEGER start_{};
};

// Peak and current working set of this process, in bytes.
struct MemoryFigures {
  std::uint64_t peakWorkingSet = 0;
  std::uint64_t workingSet = 0;
};
MemoryFigures ProcessMemory();

// One "key value" line on standard output.
void Say(std::string_view key, const std::string& value);
void Say(std::string_view key, double value);
void Say(std::string_view key, long long value);

// Every Sync Manager operation the stand-in counted since its counters were reset, one line each
// ("calls.<operation> n"), and their sum ("calls.total n").
void SayCallCounts();

// A file created (or truncated) with these bytes, without flushing: as the conduit writes reports.
bool WriteFileBytes(const std::string& path, std::string_view bytes);
// A whole small file; false when it cannot be read.
bool ReadFileBytes(const std::string& path, std::string* bytes);

}  // namespace korvet::bench
