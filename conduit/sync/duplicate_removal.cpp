#include "conduit/sync/duplicate_removal.h"

#include "conduit/sync/report_database.h"
#include "conduit/sync/report_pass.h"

namespace korvet {

void RemoveDuplicateRecords(ReportPass& pass) { pass.RemoveDuplicates(); }

void RemoveDuplicateRecords() {
  ReportPass pass;
  RemoveDuplicateRecords(pass);
  pass.Run();
}

long RemoveOtherCopies(const std::string& key, std::uint8_t handle, std::uint16_t position) {
  std::uint16_t count = 0;
  if (long error = CountRecords(handle, count)) return error;
  HandheldRecord record;
  HandheldRecordReader reader;
  // Walking downwards keeps the indexes still to be visited valid after a delete.
  for (int index = count - 1; index >= 0; --index) {
    if (long error = reader.Read(handle, static_cast<std::uint16_t>(index), record)) return error;
    if (index + 1 != position && DuplicateKey(record.data) == key) {
      if (long error = DeleteRecordById(handle, record.id)) return error;
    }
  }
  return 0;
}

}  // namespace korvet
