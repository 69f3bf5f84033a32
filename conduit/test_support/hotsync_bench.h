// A scratch HotSync installation for one test: the stand-in Sync Manager's handheld folder, the
// HotSync log and the core directory with the list files all lie in a fresh folder.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tests/support/scratch_folder.h"

namespace korvet::testing {

struct BenchRecord {
  std::uint32_t id = 0;
  std::uint8_t attributes = 0;
  std::string data;
  std::int16_t category = 0;

  bool operator==(const BenchRecord&) const = default;
};

class HotSyncBench {
 public:
  HotSyncBench();
  ~HotSyncBench();
  HotSyncBench(const HotSyncBench&) = delete;
  HotSyncBench& operator=(const HotSyncBench&) = delete;

  const ScratchFolder& Folder() const { return folder_; }
  std::string CorePath() const { return folder_.Path(); }

  // Adds a record to "KORVETDatabaseDB" (created when missing), marked modified as the device leaves it.
  std::uint32_t AddRecord(const std::string& data);
  // The same with the handheld attribute bits and category given.
  std::uint32_t AddRecord(const std::string& data, std::uint8_t attributes, std::int16_t category);
  // Stores the application information block of "KORVETDatabaseDB" (created when missing).
  bool SetAppInfo(const std::string& bytes);
  // A traverse report as the device stores it: "$", seven bytes, the name, a comma and the text.
  std::uint32_t AddReport(const std::string& name, const std::string& text);
  // Every record of "KORVETDatabaseDB" in index order; empty when the database does not exist.
  std::vector<BenchRecord> Records() const;
  std::vector<std::string> RecordData() const;

  // The texts of the HotSync log's lines, in order.
  std::vector<std::string> LogTexts() const;
  // Starts the HotSync log afresh.
  void ClearLog() { folder_.Write("HotSync.log", ""); }

 private:
  ScratchFolder folder_;
};

}  // namespace korvet::testing
