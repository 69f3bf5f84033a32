#include "conduit/sync/settings_synchronizer.h"

namespace korvet {
namespace {

// Settings files are not transferred yet: the record synchronizer that sends them is still being
// built. Each listed file gets this synchronizer, which sends nothing and reports success, so the
// rest of the session (duplicate removal, report retrieval) runs as it will later.
class SettingsTransferNotBuilt final : public SettingsSynchronizer {
 public:
  long Run() override { return 0; }
};

}  // namespace

SynchronizerFactory DefaultSynchronizerFactory() {
  return [](const SyncProperties&, long) -> std::unique_ptr<SettingsSynchronizer> {
    return std::make_unique<SettingsTransferNotBuilt>();
  };
}

}  // namespace korvet
