// What the conduit reads in the records of "KORVETDatabaseDB". A settings record holds the file's
// name, a comma, the file's text and '*'; a traverse report '$', seven bytes of the device's own, the
// report's name, a comma and the report's text.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace korvet {

namespace record_layout {
inline constexpr char kSeparator = ',';    // after a settings file's name or a report's key
inline constexpr char kSettingsEnd = '*';  // after a settings file's text
inline constexpr char kReportMark = '$';   // a traverse report's first byte
}  // namespace record_layout

// Every byte of a record before its first comma, zero bytes included: settings records carry their
// file name there, traverse reports "$", seven bytes and the report name.
std::string DuplicateKey(const std::vector<std::uint8_t>& data);

struct TraverseReport {
  std::string name;  // from the ninth byte to the first comma or zero byte
  std::string text;  // from the byte after that to the next zero byte or the record's end

  // Whether the record's data is a traverse report's: the device starts each with '$'.
  static bool IsReport(const std::vector<std::uint8_t>& record) {
    return !record.empty() && record[0] == record_layout::kReportMark;
  }
  static TraverseReport FromRecord(const std::vector<std::uint8_t>& record);
};

}  // namespace korvet
