#include "conduit/sync/report_pass.h"

#include <windows.h>

#include <string>
#include <unordered_set>

#include "conduit/platform/hotsync_log.h"
#include "conduit/platform/sync_manager.h"
#include "conduit/sync/report_database.h"

namespace korvet {
namespace {

// HotSync Manager gets a turn before the first report file and then at most this often: a turn per
// file would double the calls of a large retrieval.
constexpr DWORD kYieldEveryMs = 200;

}  // namespace

void ReportPass::Run() {
  if (!removeDuplicates_ && !writer_ && !purgeDeleted_) return;
  KorvetDatabase database;
  bool removeDuplicates = removeDuplicates_;
  if (database.Open() != 0) {
    // A database left open by an earlier pass is closed and opened again for retrieval only; its
    // duplicates wait for the next session.
    if (!writer_ || database.ReopenAfterEarlierPass() != 0) return;
    removeDuplicates = false;
  }
  std::uint16_t count = 0;
  if (CountRecords(database.Handle(), count) != 0) return;

  std::unordered_set<std::string> keys;  // keys only: the texts go to their files as they are read
  HandheldRecord record;
  std::vector<std::vector<std::string>> logs;  // per report that has lines, from the last record down
  int notRetrieved = 0;                        // reports left on the handheld since the disk became full
  std::vector<std::uint32_t> purgeable;        // what the purge would take, none of it unsaved
  bool archivedUnsaved = false;                // an archived report the purge must not take
  bool yielded = false;
  DWORD lastYield = 0;
  int index = count - 1;
  for (; index >= 0; --index) {
    if (ReadRecordByIndex(database.Handle(), static_cast<std::uint16_t>(index), record) != 0) break;
    if (record.IsDeleted()) {
      purgeable.push_back(record.id);
      continue;
    }
    if (!keys.insert(DuplicateKey(record.data)).second) {
      // A lower copy of a key already met.
      if (removeDuplicates) {
        if (DeleteRecordById(database.Handle(), record.id) != 0) break;
      } else if (record.IsArchived()) {
        archivedUnsaved = true;
      }
      continue;
    }
    if (!IsReport(record)) {
      if (record.IsArchived()) purgeable.push_back(record.id);  // a settings record the user deleted
      continue;
    }
    if (!writer_ || notRetrieved > 0) {
      if (notRetrieved > 0) ++notRetrieved;
      if (record.IsArchived()) archivedUnsaved = true;
      continue;
    }
    if (!yielded || GetTickCount() - lastYield >= kYieldEveryMs) {
      SyncYieldCycles(1);
      yielded = true;
      lastYield = GetTickCount();
    }
    std::vector<std::string> log;
    const ReportSave saved = writer_(record.data, log);
    if (!log.empty()) logs.push_back(std::move(log));
    if (saved == ReportSave::kDiskFull) notRetrieved = 1;
    if (saved != ReportSave::kSaved) {
      if (record.IsArchived()) archivedUnsaved = true;
    } else if (deleteSaved_) {
      if (DeleteRecordById(database.Handle(), record.id) != 0) break;
    } else if (record.IsArchived()) {
      purgeable.push_back(record.id);
    }
  }
  // After a failed call the walk stopped short: what it did not see may be unsaved, so nothing goes.
  const bool walkedAll = index < 0;
  if (purgeDeleted_ && walkedAll) {
    if (!archivedUnsaved) {
      PurgeDeletedHandheldRecords(database.Handle());
    } else {
      for (std::uint32_t id : purgeable)
        if (DeleteRecordById(database.Handle(), id) != 0) break;
    }
  }
  database.Close();
  for (auto lines = logs.rbegin(); lines != logs.rend(); ++lines)
    for (const std::string& line : *lines) LogLine(line);
  if (notRetrieved > 0)
    LogLine("Disk full: " + std::to_string(notRetrieved) +
            " traverse reports not retrieved, they stay on the handheld");
}

}  // namespace korvet
