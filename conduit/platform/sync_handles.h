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

}  // namespace korvet
