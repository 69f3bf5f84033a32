// synchost configure: asks a conduit for its settings as HotSync Manager's Custom dialog does.
#include <cstring>

#include "conduit/entry/conduit_records.h"
#include "sim/synchost/commands.h"
#include "sim/synchost/conduit_library.h"
#include "sim/synchost/console.h"
#include "sim/synchost/host_settings.h"

namespace korvet::hotsync {

int RunConfigure(const Installation& installation, const CommandLine& line) {
  int exitCode = kExitOk;
  std::optional<HostSettings> settings = LoadHostSettings(installation, &exitCode);
  if (!settings) return exitCode;
  const ConduitRegistration* conduit = FindRegistration(settings->registrations, line.creator);
  if (!conduit) return Fail(kExitFailure, "no conduit is registered for " + line.creator);
  RememberedActions& actions = settings->actions;
  std::string error;
  std::optional<ConduitLibrary> library = ConduitLibrary::Load(conduit->library, &error);
  if (!library) return Fail(kExitFailure, "conduit " + conduit->creator + ": " + error);

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
  long result = library->Exports().cfgConduit(0, &request, &size);
  Say("Conduit " + line.creator + ": CfgConduit returned " + std::to_string(result));
  if (result != 0) return kExitConduitFailed;

  actions.Set(line.creator, line.user, request.chosenAction);
  if (!actions.Save(installation.Folder(), &error)) return Fail(kExitFailure, "cannot remember the action: " + error);
  std::optional<std::string_view> name = SyncTypeName(request.chosenAction);
  Say("Conduit " + line.creator + ": next sync for " + line.user + ": " + std::string(name ? *name : "unknown") +
      " (" + std::to_string(request.chosenAction) + ")");
  return kExitOk;
}

int RunConfigureOld(const Installation& installation, const CommandLine& line) {
  int exitCode = kExitOk;
  std::optional<HostSettings> settings = LoadHostSettings(installation, &exitCode);
  if (!settings) return exitCode;
  const ConduitRegistration* conduit = FindRegistration(settings->registrations, line.creator);
  if (!conduit) return Fail(kExitFailure, "no conduit is registered for " + line.creator);
  RememberedActions& actions = settings->actions;
  std::string error;
  std::optional<ConduitLibrary> library = ConduitLibrary::Load(conduit->library, &error);
  if (!library) return Fail(kExitFailure, "conduit " + conduit->creator + ": " + error);

  // The old-style record: only the action and the default choice are the conduit's business.
  OldConfigRecord record;
  std::memset(&record, 0, sizeof record);
  record.action = actions.Find(line.creator, line.user).value_or(kActionSynchronize);
  record.defaultChoice = 2;
  long result = library->Exports().configureConduit(&record);
  Say("Conduit " + line.creator + ": ConfigureConduit returned " + std::to_string(result));
  if (result != 0) return kExitOk;  // cancelled: the action stays

  actions.Set(line.creator, line.user, record.action);
  if (!actions.Save(installation.Folder(), &error)) return Fail(kExitFailure, "cannot remember the action: " + error);
  std::optional<std::string_view> name = SyncTypeName(record.action);
  Say("Conduit " + line.creator + ": next sync for " + line.user + ": " + std::string(name ? *name : "unknown") +
      " (" + std::to_string(record.action) + ")");
  return kExitOk;
}

}  // namespace korvet::hotsync
