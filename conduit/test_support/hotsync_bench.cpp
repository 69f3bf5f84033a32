#include "conduit/test_support/hotsync_bench.h"

#include <cstring>

#include "conduit/platform/sync_handles.h"
#include "conduit/platform/sync_manager.h"
#include "conduit/platform/sync_properties.h"
#include "conduit/sync/report_database.h"
#include "sim/hslog20/hslog20_control.h"
#include "sim/sync20/sync20_control.h"

namespace korvet::testing {

HotSyncBench::HotSyncBench() {
  SimEndSession();
  SimClearFailures();
  SimResetCallCounts();
  SimSetInstallDirectory(folder_.Path().c_str());
  SimLogSetFile(folder_.File("HotSync.log").c_str());
  SimLogBeginConduit();
}

HotSyncBench::~HotSyncBench() {
  SimClearFailures();
  SimEndSession();
}

namespace {

// "KORVETDatabaseDB" open for reading and writing, created when missing; 0 when neither works.
UniqueHandheldDatabase OpenOrCreate() {
  UniqueHandheldDatabase database;
  if (OpenOwnedHandheldDatabase(kKorvetDatabase, 0, handheld::kOpenReadWrite, database) == 0) return database;
  DatabaseCreationBlock create;
  std::memset(&create, 0, sizeof create);
  create.creator = korvet::FourCharCode("KRVT");
  create.type = korvet::FourCharCode("DATA");
  std::strcpy(create.name, kKorvetDatabase);
  if (CreateHandheldDatabase(&create) != 0) return {};
  return UniqueHandheldDatabase(create.handle);
}

}  // namespace

std::uint32_t HotSyncBench::AddRecord(const std::string& data) {
  return AddRecord(data, handheld::kHandheldModified, 0);
}

std::uint32_t HotSyncBench::AddRecord(const std::string& data, std::uint8_t attributes, std::int16_t category) {
  const UniqueHandheldDatabase database = OpenOrCreate();
  if (!database) return 0;
  std::vector<std::uint8_t> bytes(data.begin(), data.end());
  RecordTransferBlock block;
  std::memset(&block, 0, sizeof block);
  block.handle = database.Get();
  block.attributes = attributes;
  block.category = category;
  block.dataSize = static_cast<std::uint32_t>(bytes.size());
  block.capacity = static_cast<std::uint16_t>(bytes.size());
  block.data = bytes.data();
  WriteHandheldRecord(&block);
  return block.recordId;
}

bool HotSyncBench::SetAppInfo(const std::string& bytes) {
  const UniqueHandheldDatabase database = OpenOrCreate();
  if (!database) return false;
  std::vector<std::uint8_t> buffer(bytes.begin(), bytes.end());
  DatabaseInfoBlock block;
  std::memset(&block, 0, sizeof block);
  std::strcpy(block.name, kKorvetDatabase);
  block.capacity = static_cast<std::uint16_t>(buffer.size());
  block.dataSize = static_cast<std::uint16_t>(buffer.size());
  block.data = buffer.data();
  return WriteHandheldAppInfoBlock(database.Get(), &block) == 0;
}

std::uint32_t HotSyncBench::AddReport(const std::string& name, const std::string& text) {
  return AddRecord("$0000001" + name + "," + text);
}

std::vector<BenchRecord> HotSyncBench::Records() const {
  std::vector<BenchRecord> records;
  UniqueHandheldDatabase database;
  if (OpenOwnedHandheldDatabase(kKorvetDatabase, 0, handheld::kOpenRead, database) != 0) return records;
  const std::uint8_t handle = database.Get();
  std::uint16_t count = 0;
  CountRecords(handle, count);
  for (std::uint16_t index = 0; index < count; ++index) {
    std::vector<std::uint8_t> buffer(handheld::kMaxRecordSize);
    RecordTransferBlock block;
    std::memset(&block, 0, sizeof block);
    block.handle = handle;
    block.index = index;
    block.capacity = handheld::kMaxRecordSize;
    block.data = buffer.data();
    if (ReadHandheldRecordByIndex(&block) != 0) break;
    records.push_back({block.recordId, block.attributes, std::string(buffer.begin(), buffer.begin() + block.dataSize),
                       block.category});
  }
  return records;
}

std::vector<std::string> HotSyncBench::RecordData() const {
  std::vector<std::string> data;
  for (const auto& record : Records()) data.push_back(record.data);
  return data;
}

std::vector<std::string> HotSyncBench::LogTexts() const {
  // Each line: date and time, a tab, the activity code, a tab, the text, CR LF.
  std::vector<std::string> texts;
  std::string log = folder_.Read("HotSync.log");
  if (log == "<missing>") return texts;
  std::size_t start = 0;
  while (start < log.size()) {
    std::size_t end = log.find("\r\n", start);
    if (end == std::string::npos) end = log.size();
    std::string line = log.substr(start, end - start);
    std::size_t tab = line.find('\t');
    tab = tab == std::string::npos ? tab : line.find('\t', tab + 1);
    texts.push_back(tab == std::string::npos ? line : line.substr(tab + 1));
    start = end + 2;
  }
  return texts;
}

}  // namespace korvet::testing
