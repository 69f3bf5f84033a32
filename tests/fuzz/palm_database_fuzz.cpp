// .pdb files of the emulated handheld: any bytes are refused with a reason or parse into a database
// that writes back into bytes which parse into the same bytes again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "sim/pdb/palm_database.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace korvet::sim;
  std::string error;
  auto database = ParsePalmDatabase(std::vector<std::uint8_t>(data, data + size), &error);
  if (!database) {
    if (error.empty()) std::abort();
    return 0;
  }
  std::string why;
  if (!CheckStorable(*database, &why)) return 0;
  const std::vector<std::uint8_t> written = SerializePalmDatabase(*database);
  auto again = ParsePalmDatabase(written, &error);
  if (!again || SerializePalmDatabase(*again) != written) std::abort();
  return 0;
}
