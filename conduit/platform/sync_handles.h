// The Sync Manager's session and database handles in the handle template, where 0 is none. An owner
// whose close must report the Sync Manager's status gives the handle up (Release) and closes it itself.
#pragma once

#include <cstdint>

#include "common/unique_handle.h"
#include "conduit/platform/sync_manager.h"

namespace korvet {

struct SyncSessionTraits {
  using Type = std::uint32_t;
  static Type Invalid() { return 0; }
  static bool Close(Type session) { return CloseSyncSession(session) == 0; }
};
struct HandheldDatabaseTraits {
  using Type = std::uint8_t;
  static Type Invalid() { return 0; }
  static bool Close(Type handle) { return CloseHandheldDatabase(handle) == 0; }
};

using UniqueSyncSession = UniqueHandle<SyncSessionTraits>;
using UniqueHandheldDatabase = UniqueHandle<HandheldDatabaseTraits>;

// Opens into `owner`, which takes the handle only when the open succeeds; the Sync Manager's status.
inline long OpenOwnedSyncSession(UniqueSyncSession& owner) {
  std::uint32_t session = 0;
  const long status = OpenSyncSession(&session);
  if (status == 0) owner.Reset(session);
  return status;
}
inline long OpenOwnedHandheldDatabase(const char* name, long card, std::uint8_t mode, UniqueHandheldDatabase& owner) {
  std::uint8_t handle = 0;
  const long status = OpenHandheldDatabase(name, card, &handle, mode);
  if (status == 0) owner.Reset(handle);
  return status;
}

// Closes the session the owner holds and gives the close's status; 0 when it holds none.
inline long CloseOwnedSyncSession(UniqueSyncSession& owner) { return owner ? CloseSyncSession(owner.Release()) : 0; }

}  // namespace korvet
