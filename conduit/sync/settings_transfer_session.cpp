#include "conduit/sync/settings_transfer_session.h"

#include <utility>

#include "conduit/platform/sync_manager.h"

namespace korvet::sync {

SettingsTransferSession::~SettingsTransferSession() {
  database.Close();
  EndSyncSession();
}

long SettingsTransferSession::BeginSyncSession() {
  if (syncSession_ != 0) return 0;
  const long status = OpenSyncSession(&syncSession_);
  if (status != 0) syncSession_ = 0;
  return status;
}

long SettingsTransferSession::EndSyncSession() {
  if (syncSession_ == 0) return 0;
  return CloseSyncSession(std::exchange(syncSession_, 0));
}

}  // namespace korvet::sync
