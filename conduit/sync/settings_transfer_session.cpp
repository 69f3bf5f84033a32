#include "conduit/sync/settings_transfer_session.h"

#include "conduit/platform/sync_handles.h"

namespace korvet::sync {

SettingsTransferSession::~SettingsTransferSession() {
  database.Close();
  EndSyncSession();
}

long SettingsTransferSession::BeginSyncSession() { return syncSession_ ? 0 : OpenOwnedSyncSession(syncSession_); }

long SettingsTransferSession::EndSyncSession() { return CloseOwnedSyncSession(syncSession_); }

}  // namespace korvet::sync
