// What the conduit reads in the records of "KORVETDatabaseDB". A settings record holds the file's
// name, a comma, the file's text and '*'; a traverse report '$', seven bytes of the device's own, the
// report's name, a comma and the report's text.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace korvet {

// Every byte of a record before its first comma, zero bytes included: settings records carry their
// file name there, traverse reports "$", seven bytes and the report name.
std::string DuplicateKey(const std::vector<std::uint8_t>& data);

struct TraverseReport {
  std::string name;  // from the ninth byte to the first comma or zero byte
  std::string text;  // from the byte after that to the next zero byte or the record's end

  static TraverseReport FromRecord(const std::vector<std::uint8_t>& record);
};

}  // namespace korvet
