#include "common/settings_list_reader.h"

#include "common/chosen_path_check.h"
#include "common/list_format.h"
#include "common/paths.h"

namespace korvet {

SettingsListEntry SettingsListReader::ReadEntry() {
  SettingsListEntry entry = SettingsListGrammar::ReadEntry();
  if (entry.kind != SettingsListEntry::Kind::kSend) return entry;
  if (!IsFullPath(entry.directory)) return RejectEntry(entry, "without a full directory path");
  // Longer paths the stores could not keep: refused here, where the log can say why.
  if (entry.directory.size() > lists::kMaxDirectoryBytes || entry.fileName.size() > lists::kMaxFileNameBytes ||
      !SettingsPathFits(entry.directory, entry.fileName)) {
    return RejectEntry(entry, "too long");
  }
  return entry;
}

}  // namespace korvet
