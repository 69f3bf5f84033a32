// Records of "KORVETDatabaseDB" of any bytes: the duplicate key and a traverse report's name and text
// are pieces of the record in their places, and a report written the device's way reads back whole.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "conduit/sync/record_layout.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace korvet;
  const std::vector<std::uint8_t> record(data, data + size);
  const std::string key = DuplicateKey(record);
  if (key.size() > size || key.find(',') != std::string::npos ||
      (size > 0 && std::memcmp(key.data(), data, key.size()) != 0)) {
    std::abort();
  }
  const TraverseReport report = TraverseReport::FromRecord(record);
  if (report.name.find_first_of(std::string(",\0", 2)) != std::string::npos ||
      report.text.find('\0') != std::string::npos || report.name.size() + report.text.size() > size) {
    std::abort();
  }
  // The same name and text as the device stores them come back unchanged.
  std::vector<std::uint8_t> stored = {'$', '0', '0', '0', '0', '0', '0', '1'};
  stored.insert(stored.end(), report.name.begin(), report.name.end());
  stored.push_back(',');
  stored.insert(stored.end(), report.text.begin(), report.text.end());
  const TraverseReport again = TraverseReport::FromRecord(stored);
  if (again.name != report.name || again.text != report.text) std::abort();
  return 0;
}
