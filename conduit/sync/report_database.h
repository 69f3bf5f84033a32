// The handheld database "KORVETDatabaseDB" as the end-of-session passes use it: opened for reading
// and writing with its private records shown (a private traverse report is a report like any other),
// records read whole by index, deleted by ID, and always closed again.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "conduit/handheld/transfer_buffer.h"
#include "conduit/platform/sync_handles.h"
#include "conduit/sync/record_layout.h"

namespace korvet {

inline constexpr const char* kKorvetDatabase = "KORVETDatabaseDB";

struct HandheldRecord {
  std::uint32_t id = 0;
  std::uint8_t attributes = 0;     // as the handheld reports them
  std::vector<std::uint8_t> data;  // the record's bytes, exactly as many as it holds

  // Deleted on the device without a copy for the desktop: whatever bytes a read brings, the record
  // holds nothing any more and only waits to be cleaned up.
  bool IsDeleted() const;
  // Deleted on the device with a copy kept for the desktop: the data is there until it is cleaned up.
  bool IsArchived() const;
};

// Calls on an open database handle; each returns 0 or the Sync Manager's error.
long CountRecords(std::uint8_t handle, std::uint16_t& count);
// A traverse report: the device starts each with '$'; every other record is a settings record. A
// deleted record is neither.
bool IsReport(const HandheldRecord& record);
long DeleteRecordById(std::uint8_t handle, std::uint32_t id);

// Reads records whole by index, through one transfer buffer for all the reads of a pass.
class HandheldRecordReader {
 public:
  long Read(std::uint8_t handle, std::uint16_t index, HandheldRecord& record);

 private:
  handheld::TransferBuffer buffer_;
  handheld::RecordTransferBlock block_{};
};

class KorvetDatabase {
 public:
  KorvetDatabase() = default;
  KorvetDatabase(const KorvetDatabase&) = delete;
  KorvetDatabase& operator=(const KorvetDatabase&) = delete;

  long Open();  // card 0, read and write, private records shown
  long Open(const char* name, long card);
  // Closes a database left open by an earlier pass (the first handle that closes), then opens.
  long ReopenAfterEarlierPass();
  void Close();

  bool IsOpen() const { return handle_.IsValid(); }
  std::uint8_t Handle() const { return handle_.Get(); }

 private:
  UniqueHandheldDatabase handle_;
};

}  // namespace korvet
