// What the session runs once per listed settings file: a synchronizer built over the sync properties
// (which hold that file's folder and name), run to completion and destroyed.
#pragma once

#include <functional>
#include <memory>

#include "conduit/platform/sync_properties.h"
#include "conduit/platform/sync_type_table.h"

namespace korvet {

class SettingsSynchronizer {
 public:
  virtual ~SettingsSynchronizer() = default;
  virtual long Run() = 0;
  // Whether the run came to the purge of the records the device marked deleted and left it to the
  // end-of-session pass, which purges once the archived traverse reports among them are saved.
  virtual bool LeftPurgeToSession() const { return false; }
};

// Makes the synchronizer for the file the properties point at; null when it cannot be made.
using SynchronizerFactory = std::function<std::unique_ptr<SettingsSynchronizer>(const SyncProperties&, long options)>;

// Whether a HotSync of this type sends the listed settings files to the handheld: the types whose
// desktop records take part. Backup, "handheld overwrites desktop" and "do nothing" send none: a
// settings file is never written on the desktop, so the first two only refresh its .BAK copy, and a
// missing file is nothing they failed to do.
constexpr bool SendsSettingsFiles(std::int32_t syncType) {
  const SyncTypeRow* row = FindSyncType(syncType);
  return row == nullptr || row->loadsDesktop;
}

// The option value the session builds every settings-file synchronizer with.
inline constexpr long kSettingsSyncOptions = 3;

namespace sync {
class SettingsTransferSession;
}

// The conduit's own synchronizers, for one session: they share what the session must do only once.
SynchronizerFactory DefaultSynchronizerFactory(std::shared_ptr<sync::SettingsTransferSession> session);

}  // namespace korvet
