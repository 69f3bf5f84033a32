// synchost configure: asks a conduit for its settings as HotSync Manager's Custom dialog does.
#include <cstring>

#include "conduit/platform/conduit_records.h"
#include "sim/synchost/commands.h"
#include "sim/synchost/conduit_library.h"
#include "sim/synchost/console.h"
#include "sim/synchost/host_settings.h"

namespace korvet::hotsync {
namespace {

struct ConfiguredConduit {
  HostSettings settings;
  ConduitLibrary library;
};

// The installation's settings and the registered conduit's library; nothing (with the failure
// printed and *exitCode set) when either is missing.
std::optional<ConfiguredConduit> LoadConduit(const Installation& installation, const CommandLine& line, int* exitCode) {
  std::optional<HostSettings> settings = LoadHostSettings(installation, exitCode);
  if (!settings) return std::nullopt;
  const ConduitRegistration* conduit = FindRegistration(settings->registrations, line.creator);
  if (!conduit) {
    *exitCode = Fail(kExitFailure, "no conduit is registered for " + line.creator);
    return std::nullopt;
  }
  std::string error;
  std::optional<ConduitLibrary> library = ConduitLibrary::Load(conduit->library, &error);
  if (!library) {
    *exitCode = Fail(kExitFailure, "conduit " + conduit->creator + ": " + error);
    return std::nullopt;
  }
  return ConfiguredConduit{std::move(*settings), std::move(*library)};
}

// Keeps the chosen action for the user's next HotSync and says what it is.
int Remember(const Installation& installation, const CommandLine& line, RememberedActions& actions,
             std::int32_t action) {
  std::string error;
  actions.Set(line.creator, line.user, action);
  if (!actions.Save(installation.Folder(), &error)) return Fail(kExitFailure, "cannot remember the action: " + error);
  std::optional<std::string_view> name = SyncTypeName(action);
  Say("Conduit " + line.creator + ": next sync for " + line.user + ": " + std::string(name ? *name : "unknown") + " (" +
      std::to_string(action) + ")");
  return kExitOk;
}

}  // namespace

int RunConfigure(const Installation& installation, const CommandLine& line) {
  int exitCode = kExitOk;
  std::optional<ConfiguredConduit> configured = LoadConduit(installation, line, &exitCode);
  if (!configured) return exitCode;
  RememberedActions& actions = configured->settings.actions;
  ConduitLibrary& library = configured->library;

  std::int32_t remembered = actions.Find(line.creator, line.user).value_or(kActionSynchronize);
  ConfigRequest request;
  std::memset(&request, 0, sizeof request);
  request.version = 1;
  request.size = sizeof request;
  request.userKnown = 1;
  std::strncpy(request.userName, line.user.c_str(), sizeof request.userName - 1);
  std::strncpy(request.hotsyncPath, installation.Folder().c_str(), sizeof request.hotsyncPath - 1);
  request.defaultAction = remembered;
  request.nextAction = remembered;
  request.chosenAction = remembered;
  request.defaultChoice = 2;
  std::uint32_t size = sizeof request;
  long result = library.Exports().cfgConduit(0, &request, &size);
  Say("Conduit " + line.creator + ": CfgConduit returned " + std::to_string(result));
  if (result != 0) return kExitConduitFailed;

  return Remember(installation, line, actions, request.chosenAction);
}

int RunConfigureOld(const Installation& installation, const CommandLine& line) {
  int exitCode = kExitOk;
  std::optional<ConfiguredConduit> configured = LoadConduit(installation, line, &exitCode);
  if (!configured) return exitCode;
  RememberedActions& actions = configured->settings.actions;
  ConduitLibrary& library = configured->library;

  // The old-style record: only the action and the default choice are the conduit's business.
  OldConfigRecord record;
  std::memset(&record, 0, sizeof record);
  record.action = actions.Find(line.creator, line.user).value_or(kActionSynchronize);
  record.defaultChoice = 2;
  long result = library.Exports().configureConduit(&record);
  Say("Conduit " + line.creator + ": ConfigureConduit returned " + std::to_string(result));
  if (result != 0) return kExitOk;  // cancelled: the action stays

  return Remember(installation, line, actions, record.action);
}

}  // namespace korvet::hotsync
