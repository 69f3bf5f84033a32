// What sync and configure read from the installation before they load any conduit: the conduit
// registrations and the actions chosen with configure.
#pragma once

#include <optional>

#include "sim/condmgr/registrations.h"
#include "sim/synchost/installation.h"
#include "sim/synchost/remembered_actions.h"

namespace korvet::hotsync {

struct HostSettings {
  Registrations registrations;
  RememberedActions actions;
};

// Checks that the stand-in libraries are installed, then reads both files. Nothing when a library is
// missing or a file cannot be read; the failure is then printed and *exitCode set.
std::optional<HostSettings> LoadHostSettings(const Installation& installation, int* exitCode);

}  // namespace korvet::hotsync
