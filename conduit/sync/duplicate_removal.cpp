#include "conduit/sync/duplicate_removal.h"

#include <unordered_map>
#include <vector>

#include "conduit/sync/report_database.h"

namespace korvet {

void RemoveDuplicateRecords() {
  KorvetDatabase database;
  if (database.Open() != 0) return;
  std::uint16_t count = 0;
  if (CountRecords(database.Handle(), count) != 0) return;

  // Keys are compared whole. A failed read leaves everything in place: a copy not yet read may be
  // the newest.
  struct Copy {
    std::string key;
    std::uint32_t id;
  };
  std::vector<Copy> copies;
  copies.reserve(count);
  std::unordered_map<std::string, std::uint16_t> newest;
  HandheldRecord record;
  for (std::uint16_t index = 0; index < count; ++index) {
    if (ReadRecordByIndex(database.Handle(), index, record) != 0) return;
    copies.push_back({DuplicateKey(record.data), record.id});
    newest[copies.back().key] = index;
  }
  for (std::uint16_t index = 0; index < count; ++index) {
    if (newest[copies[index].key] != index && DeleteRecordById(database.Handle(), copies[index].id) != 0) return;
  }
}

long RemoveOtherCopies(const std::string& key, std::uint8_t handle, std::uint16_t position) {
  std::uint16_t count = 0;
  if (long error = CountRecords(handle, count)) return error;
  HandheldRecord record;
  // Walking downwards keeps the indexes still to be visited valid after a delete.
  for (int index = count - 1; index >= 0; --index) {
    if (long error = ReadRecordByIndex(handle, static_cast<std::uint16_t>(index), record)) return error;
    if (index + 1 != position && DuplicateKey(record.data) == key) {
      if (long error = DeleteRecordById(handle, record.id)) return error;
    }
  }
  return 0;
}

}  // namespace korvet
