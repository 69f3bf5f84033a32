// Positions of an open database's records by unique ID (unique on a handheld; where a file repeats
// one, a look-up finds one of its records), so that reads, writes and deletes by ID do
// not walk the record list. Positions move when a record is erased, so the index is kept valid only
// below a watermark and brought up to date lazily, from the watermark on, when a look-up needs it:
// deleting from the end of the list downwards (as the conduit does) then costs nothing extra, and
// any other change costs at most what the erase itself moves.
#pragma once

#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "sim/pdb/palm_database.h"

namespace korvet::sim {

class RecordIdIndex {
 public:
  static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

  // The position of the first record with this ID, or kNone.
  std::size_t Find(const std::vector<PalmRecord>& records, std::uint32_t id);
  // The record with this ID was erased from this position; the later ones moved down by one.
  void Erased(std::size_t position, std::uint32_t id);
  // Records were erased anywhere (a purge): everything is looked at again on the next look-up.
  // Appending a record needs neither call.
  void Reset();

 private:
  void Extend(const std::vector<PalmRecord>& records);
  void Invalidate(std::size_t from) { validBelow_ = from < validBelow_ ? from : validBelow_; }

  std::unordered_map<std::uint32_t, std::size_t> positions_;
  std::size_t validBelow_ = 0;  // every entry below this position is right
};

}  // namespace korvet::sim
