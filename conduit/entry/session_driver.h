// One HotSync session of the conduit: the body of OpenConduit.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "conduit/platform/sync_properties.h"
#include "conduit/sync/settings_synchronizer.h"
#include "conduit/sync/settings_transfer_session.h"

namespace korvet {

struct SessionServices {
  // The HotSync core directory, where both list files lie; nothing when it cannot be found.
  std::function<std::optional<std::string>()> corePath;
  SynchronizerFactory makeSynchronizer;
  // What the synchronizers share with the session: their Sync Manager session, ended after the list,
  // and the settings database they left open, which the end pass uses. Null when they share nothing.
  std::shared_ptr<sync::SettingsTransferSession> transfer;
};

// The Conduit Manager's core directory and the conduit's own synchronizers.
SessionServices DefaultSessionServices();

// Sends every listed settings file, empties the list when asked, removes older duplicate records on
// the handheld and retrieves the traverse reports. Returns -1 when `hotsync` is null or the list file
// cannot be opened; otherwise 0 when every listed file was sent, else the code of the first that was
// not; with no file to send, 0 for a list that stopped before its end marker and -1 for one that did
// not.
long RunHotSyncSession(void* hotsync, SyncProperties* properties, const SessionServices& services);

}  // namespace korvet
