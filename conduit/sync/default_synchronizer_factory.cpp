#include "conduit/base/allocation.h"
#include "conduit/sync/settings_file_synchronizer.h"
#include "conduit/sync/settings_synchronizer.h"

namespace korvet {

// Each factory serves one session: its synchronizers share what the session must do only once.
SynchronizerFactory DefaultSynchronizerFactory() {
  auto session = std::make_shared<sync::SettingsTransferSession>();
  return [session](const SyncProperties& properties, long options) -> std::unique_ptr<SettingsSynchronizer> {
    // Without memory for a synchronizer its file is skipped.
    return base::MakeOrNull<sync::SettingsFileSynchronizer>(properties, options, session);
  };
}

}  // namespace korvet
