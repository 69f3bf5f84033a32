#include "conduit/sync/report_pass.h"

#include <windows.h>

#include <string>
#include <unordered_set>

#include "conduit/platform/hotsync_log.h"
#include "conduit/platform/sync_manager.h"
#include "conduit/sync/report_database.h"
#include "conduit/sync/unused_calls.h"

namespace korvet {
namespace {

// HotSync Manager gets a turn before the first report file and then at most this often: a turn per
// file would double the calls of a large retrieval.
constexpr DWORD kYieldEveryMs = 200;

// "Sync Manager error 0x4005", as its codes are known.
std::string SyncManagerError(long error) {
  char text[48];
  wsprintfA(text, "Sync Manager error 0x%04lX", static_cast<unsigned long>(error));
  return text;
}

}  // namespace

void ReportPass::CannotRetrieve(std::string cause) {
  writer_ = [cause = std::move(cause)](const std::vector<std::uint8_t>&, std::vector<std::string>&) {
    return ReportSave{ReportSave::Outcome::kStopped, cause};
  };
}

bool ReportPass::Run() {
  if (!removeDuplicates_ && !writer_ && !purgeDeleted_) return true;
  KorvetDatabase own;
  const bool shared = sessionDatabase_ != nullptr && sessionDatabase_->IsOpen();
  bool removeDuplicates = removeDuplicates_;
  if (const long opened = shared ? 0 : own.Open()) {
    // A database left open by an earlier pass is closed and opened again for retrieval only; its
    // duplicates wait for the next session.
    const long reopened = opened == handheld::kSyncNotFound || !writer_ ? opened : own.ReopenAfterEarlierPass();
    if (reopened == handheld::kSyncNotFound) return true;  // no database: no reports
    if (reopened != 0) {
      LogLine(std::string(kKorvetDatabase) + " could not be opened (" + SyncManagerError(reopened) + ")" +
              (writer_ ? ", traverse reports not retrieved" : ", older duplicate records not removed"));
      return !writer_;
    }
    removeDuplicates = false;
  }
  const std::uint8_t handle = shared ? sessionDatabase_->Handle() : own.Handle();
  std::uint16_t count = 0;
  long failure = CountRecords(handle, count);

  std::unordered_set<std::string> keys;  // keys only: the texts go to their files as they are read
  HandheldRecord record;
  HandheldRecordReader reader;
  std::vector<std::vector<std::string>> logs;  // per report that has lines, from the last record down
  int notRetrieved = 0;                        // reports left on the handheld since the folder stopped
  std::string stopCause;                       // why the folder stopped taking files
  bool allSaved = true;                        // every report met was saved
  std::vector<std::uint32_t> purgeable;        // what the purge would take, none of it unsaved
  bool archivedUnsaved = false;                // an archived report the purge must not take
  bool yielded = false;
  DWORD lastYield = 0;
  int index = failure == 0 ? count - 1 : 0;
  for (; failure == 0 && index >= 0; --index) {
    if ((failure = reader.Read(handle, static_cast<std::uint16_t>(index), record)) != 0) break;
    if (record.IsDeleted()) {
      purgeable.push_back(record.id);
      continue;
    }
    if (!keys.insert(DuplicateKey(record.data)).second) {
      // A lower copy of a key already met.
      if (removeDuplicates) {
        if ((failure = DeleteRecordById(handle, record.id)) != 0) break;
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
    ReportSave saved = writer_(record.data, log);
    if (!log.empty()) logs.push_back(std::move(log));
    if (saved.outcome == ReportSave::Outcome::kStopped) {
      notRetrieved = 1;
      stopCause = std::move(saved.stopCause);
    }
    if (!saved.Saved()) {
      allSaved = false;
      if (record.IsArchived()) archivedUnsaved = true;
    } else if (deleteSaved_) {
      if ((failure = DeleteRecordById(handle, record.id)) != 0) break;
    } else if (record.IsArchived()) {
      purgeable.push_back(record.id);
    }
  }
  // After a failed call the walk stopped short: what it did not see may be unsaved, so nothing goes.
  // Every record marked deleted or archived was met above, so with none left the purge has nothing
  // to take.
  const bool anyMarked = !purgeable.empty() || archivedUnsaved;
  if (purgeDeleted_ && failure == 0 && (anyMarked || sync::MakesUnusedCalls())) {
    if (!archivedUnsaved) {
      PurgeDeletedHandheldRecords(handle);
    } else {
      for (std::uint32_t id : purgeable)
        if (DeleteRecordById(handle, id) != 0) break;
    }
  }
  own.Close();
  for (auto lines = logs.rbegin(); lines != logs.rend(); ++lines)
    for (const std::string& line : *lines) LogLine(line);
  if (notRetrieved > 0)
    LogLine(stopCause + ": " + std::to_string(notRetrieved) +
            " traverse reports not retrieved, they stay on the handheld");
  if (failure != 0 && writer_) {
    LogLine("Traverse report retrieval stopped (" + SyncManagerError(failure) +
            "), the reports not yet retrieved stay on the handheld");
    allSaved = false;
  }
  return !writer_ || allSaved;
}

}  // namespace korvet
