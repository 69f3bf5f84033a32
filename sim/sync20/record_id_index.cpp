#include "sim/sync20/record_id_index.h"

namespace korvet::sim {

std::size_t RecordIdIndex::Find(const std::vector<PalmRecord>& records, std::uint32_t id) {
  if (validBelow_ > records.size()) validBelow_ = records.size();
  auto valid = [&](std::size_t position) { return position < validBelow_ && records[position].id == id; };
  auto found = positions_.find(id);
  if (found != positions_.end() && valid(found->second)) return found->second;
  if (validBelow_ == records.size()) return kNone;
  Extend(records);
  found = positions_.find(id);
  return found != positions_.end() && valid(found->second) ? found->second : kNone;
}

void RecordIdIndex::Extend(const std::vector<PalmRecord>& records) {
  for (std::size_t position = validBelow_; position < records.size(); ++position) {
    const std::uint32_t id = records[position].id;
    auto [entry, added] = positions_.try_emplace(id, position);
    // An entry that still names an earlier record with this ID keeps it: the first one wins.
    if (!added && !(entry->second < position && records[entry->second].id == id)) entry->second = position;
  }
  validBelow_ = records.size();
}

void RecordIdIndex::Erased(std::size_t position, std::uint32_t id) {
  const auto found = positions_.find(id);
  if (found != positions_.end() && found->second == position) positions_.erase(found);
  Invalidate(position);
}

void RecordIdIndex::Reset() {
  positions_.clear();
  validBelow_ = 0;
}

}  // namespace korvet::sim
