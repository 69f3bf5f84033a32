#include "sim/synchost/host_settings.h"

#include "sim/synchost/commands.h"
#include "sim/synchost/console.h"

namespace korvet::hotsync {

std::optional<HostSettings> LoadHostSettings(const Installation& installation, int* exitCode) {
  auto fail = [&](const std::string& message) {
    *exitCode = Fail(kExitFailure, message);
    return std::nullopt;
  };
  if (std::optional<std::string> missing =
          installation.FindMissing({kSyncManagerLibrary, kHotSyncLogLibrary, kConduitManagerLibrary}))
    return fail("missing installation file " + *missing);
  std::string error;
  std::optional<Registrations> registrations = LoadRegistrations(installation.Folder(), &error);
  if (!registrations) return fail("cannot read the registrations: " + error);
  std::optional<RememberedActions> actions = RememberedActions::Load(installation.Folder(), &error);
  if (!actions) return fail("cannot read the remembered actions: " + error);
  return HostSettings{std::move(*registrations), std::move(*actions)};
}

}  // namespace korvet::hotsync
