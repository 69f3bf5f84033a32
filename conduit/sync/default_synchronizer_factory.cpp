#include "conduit/base/allocation.h"
#include "conduit/sync/settings_file_synchronizer.h"
#include "conduit/sync/settings_synchronizer.h"

namespace korvet {

SynchronizerFactory DefaultSynchronizerFactory(std::shared_ptr<sync::SettingsTransferSession> session) {
  return [session](const SyncProperties& properties, long options) -> std::unique_ptr<SettingsSynchronizer> {
    // Without memory for a synchronizer its file is skipped.
    return base::MakeOrNull<sync::SettingsFileSynchronizer>(properties, options, session);
  };
}

}  // namespace korvet
