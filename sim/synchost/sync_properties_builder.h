// The sync properties record that synchost hands to OpenConduit for one registered conduit.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "conduit/platform/sync_properties.h"
#include "sim/condmgr/registrations.h"

namespace korvet::hotsync {

// Four characters as one big-endian value, as creator IDs and database types are kept.
std::uint32_t FourCharValue(const std::string& text);

// Zeroed, then filled: sync type, the registration's directory and file, its remote database as the
// one remote name, creator, type "DATA", category mode 0 and the user. Nothing when a value does not
// fit its field; *error names it.
std::optional<SyncProperties> BuildSyncProperties(const ConduitRegistration& conduit, std::int32_t syncType,
                                                  const std::string& user, std::string* error);

}  // namespace korvet::hotsync
