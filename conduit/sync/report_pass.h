// The end-of-session pass over "KORVETDatabaseDB". Every handheld call is a round trip over the
// HotSync link, so duplicate removal, report retrieval and report deletion share one walk from the
// last record down to the first, reading each record once:
//   - the first copy of a key met (the highest index) stays; lower copies are deleted as they are met;
//   - each surviving traverse report is written to its .csv file;
//   - with deletion on, a report is deleted right after its file is safely written.
//   - a record the device marked deleted holds nothing any more: it is never written and has no key;
//   - a report the user deleted on the device with a copy for the desktop (archived) is a report
//     like any other until it is saved;
//   - when a settings-file synchronizer left its purge of the deleted records to this pass, the
//     pass purges at its end, once no archived report it met is left unsaved; otherwise it deletes
//     the records the purge would have taken one by one and keeps the unsaved archived reports.
// Walking downwards keeps the indexes still to be visited valid after a delete. A Sync Manager
// failure ends the pass: what was done stays done, nothing unsaved was deleted, the database is
// closed (unless it is the session's, which its owner closes), and with retrieval asked a log line
// says that reports stay on the handheld.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "conduit/sync/report_database.h"
#include "conduit/sync/report_file_writer.h"

namespace korvet {

class ReportPass {
 public:
  // Writes one traverse report record (the record's bytes) to the desktop, adding the HotSync log
  // lines it has for it to `log`.
  using Writer = std::function<ReportSave(const std::vector<std::uint8_t>& record, std::vector<std::string>& log)>;

  void RemoveDuplicates() { removeDuplicates_ = true; }
  void Retrieve(Writer writer) { writer_ = std::move(writer); }
  // Retrieval was asked, or may have been, but cannot be done: every report met counts as not
  // retrieved for `cause` ("Report folder too long", ...), which the last log line gives with their
  // number. With no report on the handheld nothing is lost and Run still returns true.
  void CannotRetrieve(std::string cause);
  void DeleteSaved() { deleteSaved_ = true; }
  void PurgeDeleted() { purgeDeleted_ = true; }
  // The database as the settings-file synchronizers left it open, read and write with private records
  // shown; the pass opens its own when it is not open. Not owned: it outlives the pass.
  void UseSessionDatabase(const KorvetDatabase* database) { sessionDatabase_ = database; }

  // Does what was asked above. The reports' log lines are written at the end in the order of the
  // records, first record first. Once the folder takes no more files (a full disk, a folder gone) no
  // more report is written; one last log line then gives the cause and how many reports were not
  // retrieved and stay on the handheld. False when retrieval was asked and a report was not saved,
  // whatever the reason (a missing database has no reports: true).
  bool Run();

 private:
  bool removeDuplicates_ = false;
  bool deleteSaved_ = false;
  bool purgeDeleted_ = false;
  const KorvetDatabase* sessionDatabase_ = nullptr;
  Writer writer_;
};

}  // namespace korvet
