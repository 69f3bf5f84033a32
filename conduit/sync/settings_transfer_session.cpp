#include "conduit/sync/settings_transfer_session.h"

#include <utility>

#include "conduit/platform/sync_manager.h"

namespace korvet::sync {

SettingsTransferSession::~SettingsTransferSession() {
  database.Close();
  EndSyncSession();
}

long SettingsTransferSession::BeginSyncSession() {
  if (syncSession_) return 0;
  std::uint32_t session = 0;
  const long status = OpenSyncSession(&session);
  if (status == 0) syncSession_.Reset(session);
  return status;
}

long SettingsTransferSession::EndSyncSession() {
  if (!syncSession_) return 0;
  return CloseSyncSession(syncSession_.Release());
}

}  // namespace korvet::sync
