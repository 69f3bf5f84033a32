// Settings-file lists of any bytes: the grammar reads every entry to the list's end, never more
// entries than bytes, and a file name only after the entry's first comma.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "common/list_format.h"
#include "common/settings_list_grammar.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace korvet;
  SettingsListGrammar list(std::string(reinterpret_cast<const char*>(data), size));
  std::size_t entries = 0;
  while (!list.Ended()) {
    const SettingsListEntry entry = list.ReadEntry();
    if (++entries > size + 1) std::abort();
    if (entry.kind != SettingsListEntry::Kind::kSend) continue;
    if (entry.directory.empty() || entry.fileName.empty() ||
        entry.text != entry.directory + lists::kSeparator + entry.fileName ||
        entry.text.size() + 1 > lists::kMaxEntryBytes) {
      std::abort();
    }
  }
  if (list.StopOffset() > size) std::abort();
  return 0;
}
