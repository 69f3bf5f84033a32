// korvet_baseline: the floor of a benchmark session's work, straight through the same stand-in Sync
// Manager, with no checks and no log: open the database, write one record per listed settings file,
// read every record once, write each report's text to its .csv file, delete the exported reports,
// close. It reads the two list files Xembrafilepath.dat and Cardoon.dat that korvet_bench prepare
// wrote beside it and prints "key value" lines as korvet_bench session does.
//   korvet_baseline
#include <cstring>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "common/paths.h"
#include "conduit/platform/sync_manager.h"
#include "sim/sync20/sync20_control.h"

namespace korvet::bench {
namespace {

constexpr std::uint16_t kRecordCapacity = 65000;

// "dir\,name*dir\,name*@$": the path of each entry.
std::vector<std::string> ListedFiles(const std::string& list) {
  std::vector<std::string> files;
  std::size_t start = 0;
  for (std::size_t end; (end = list.find('*', start)) != std::string::npos; start = end + 1) {
    std::string entry = list.substr(start, end - start);
    const std::size_t comma = entry.find(",");
    files.push_back(entry.substr(0, comma) + entry.substr(comma + 1));
  }
  return files;
}

void Work(const std::string& installation) {
  std::string list, folderFile;
  ReadFileBytes(JoinPath(installation, "Xembrafilepath.dat"), &list);
  ReadFileBytes(JoinPath(installation, "Cardoon.dat"), &folderFile);
  const std::string folder = folderFile.substr(0, folderFile.find('@'));

  std::uint8_t handle = 0;
  OpenHandheldDatabase(kKorvetDatabase, 0, &handle, handheld::kOpenReadWrite);
  std::vector<std::uint8_t> buffer(kRecordCapacity);
  handheld::RecordTransferBlock block;
  for (const std::string& path : ListedFiles(list)) {
    std::string text;
    ReadFileBytes(path, &text);
    std::string record = FileNameOf(path) + "," + text + "*";
    std::memset(&block, 0, sizeof block);
    block.handle = handle;
    block.dataSize = static_cast<std::uint32_t>(record.size());
    block.capacity = static_cast<std::uint16_t>(record.size());
    block.data = reinterpret_cast<std::uint8_t*>(record.data());
    WriteHandheldRecord(&block);
  }

  std::uint16_t count = 0;
  SyncGetDBRecordCount(handle, &count);
  std::vector<std::uint32_t> exported;
  for (std::uint16_t index = 0; index < count; ++index) {
    std::memset(&block, 0, sizeof block);
    block.handle = handle;
    block.index = index;
    block.capacity = kRecordCapacity;
    block.data = buffer.data();
    ReadHandheldRecordByIndex(&block);
    const char* data = reinterpret_cast<const char*>(buffer.data());
    if (block.dataSize < 8 || data[0] != '$') continue;
    const std::string_view record(data, block.dataSize);
    const std::size_t comma = record.find(',', 8);
    WriteFileBytes(folder + std::string(record.substr(8, comma - 8)) + ".csv", record.substr(comma + 1));
    exported.push_back(block.recordId);
  }
  // From the last record, as a device deletes most cheaply.
  for (auto id = exported.rbegin(); id != exported.rend(); ++id) {
    std::memset(&block, 0, sizeof block);
    block.handle = handle;
    block.recordId = *id;
    DeleteHandheldRecord(&block);
  }
  CloseHandheldDatabase(handle);
}

}  // namespace
}  // namespace korvet::bench

int main() {
  using namespace korvet::bench;
  const std::string installation = ProgramFolder();
  if (SimSetInstallDirectory(installation.c_str()) != 0) return 1;
  const MemoryFigures before = ProcessMemory();
  SimResetCallCounts();
  Stopwatch watch;
  Work(installation);
  const long ended = SimEndSession();
  const double seconds = watch.Seconds();
  const MemoryFigures after = ProcessMemory();
  Say("seconds", seconds);
  Say("ended", static_cast<long long>(ended));
  Say("standin.seconds", SimCallMicroseconds() / 1e6);
  Say("memory.before", static_cast<long long>(before.workingSet));
  Say("memory.peak", static_cast<long long>(after.peakWorkingSet));
  SayCallCounts();
  return ended == 0 ? 0 : 1;
}
