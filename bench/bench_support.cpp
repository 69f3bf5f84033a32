#include "bench/bench_support.h"

#include <psapi.h>

#include <cstdio>

#include "common/win_file.h"
#include "common/win_library.h"
#include "sim/support/win_handles.h"
#include "sim/sync20/link_model.h"
#include "sim/sync20/operation_names.h"
#include "sim/sync20/sync20_control.h"

namespace korvet::bench {

std::string ProgramFolder() { return ModuleFolder(nullptr); }

Stopwatch::Stopwatch() { QueryPerformanceCounter(&start_); }

double Stopwatch::Seconds() const {
  LARGE_INTEGER now{}, frequency{};
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(now.QuadPart - start_.QuadPart) / static_cast<double>(frequency.QuadPart);
}

MemoryFigures ProcessMemory() {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  MemoryFigures figures;
  if (GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)) {
    figures.peakWorkingSet = counters.PeakWorkingSetSize;
    figures.workingSet = counters.WorkingSetSize;
  }
  return figures;
}

void Say(std::string_view key, const std::string& value) {
  std::printf("%.*s %s\n", static_cast<int>(key.size()), key.data(), value.c_str());
  std::fflush(stdout);
}

void Say(std::string_view key, double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.6f", value);
  Say(key, std::string(text));
}

void Say(std::string_view key, long long value) { Say(key, std::to_string(value)); }

void SayCallCounts() {
  long long total = 0;
  for (std::string_view name : sim::kSyncOperationNames) {
    const std::string operation(name);
    const long count = SimCallCount(operation.c_str());
    if (count <= 0) continue;
    total += count;
    Say(std::string("calls.") + operation, static_cast<long long>(count));
  }
  Say("calls.total", total);
  // What the same calls and bytes would take over a cradle (link_model.h).
  const long long bytes = SimBytesMoved();
  Say("bytes.moved", bytes);
  for (const sim::LinkModel& model : sim::kLinkModels)
    Say("link." + std::string(model.name), sim::LinkSeconds(model, total, bytes));
}

bool WriteFileBytes(const std::string& path, std::string_view bytes) {
  return WinFile::CreateAlways(path).Write(bytes.data(), bytes.size());
}

bool ReadFileBytes(const std::string& path, std::string* bytes) {
  const std::optional<std::vector<std::uint8_t>> read = ReadWholeFile(path);
  if (!read) return false;
  bytes->assign(read->begin(), read->end());
  return true;
}

}  // namespace korvet::bench
