#include "conduit/sync/record_layout.h"

#include <algorithm>

namespace korvet {
namespace {

constexpr std::size_t kNameOffset = 8;  // "$" and seven bytes the device writes

}  // namespace

std::string DuplicateKey(const std::vector<std::uint8_t>& data) {
  const auto comma = std::find(data.begin(), data.end(), std::uint8_t{record_layout::kSeparator});
  return std::string(data.begin(), comma);
}

TraverseReport TraverseReport::FromRecord(const std::vector<std::uint8_t>& record) {
  const std::size_t nameStart = std::min(kNameOffset, record.size());
  std::size_t end = nameStart;
  while (end < record.size() && record[end] != record_layout::kSeparator && record[end] != 0) ++end;
  const std::size_t textStart = std::min(end + 1, record.size());
  std::size_t textEnd = textStart;
  while (textEnd < record.size() && record[textEnd] != 0) ++textEnd;
  return {std::string(record.begin() + nameStart, record.begin() + end),
          std::string(record.begin() + textStart, record.begin() + textEnd)};
}

}  // namespace korvet
