// synchost register, unregister and conduits: registration through CondMgr.dll as an installer makes
// it, and the list as the Conduit Manager keeps it.
#include "common/cond_mgr.h"
#include "sim/condmgr/conduit_manager.h"
#include "sim/condmgr/registrations.h"
#include "sim/support/sim_files.h"
#include "sim/support/win_handles.h"
#include "sim/synchost/commands.h"
#include "sim/synchost/console.h"

namespace korvet::hotsync {
namespace {

std::optional<WinLibrary> LoadConduitManager(const Installation& installation, int* exitCode) {
  std::string path = installation.PathOf(kConduitManagerLibrary);
  if (!FileExists(path)) {
    *exitCode = Fail(kExitFailure, "missing installation file " + path);
    return std::nullopt;
  }
  std::string error;
  WinLibrary library = sim::LoadLibraryOrExplain(path, &error);
  if (!library.IsLoaded()) {
    *exitCode = Fail(kExitFailure, error);
    return std::nullopt;
  }
  return library;
}

}  // namespace

int RunRegister(const Installation& installation, const CommandLine& line) {
  std::string library = FullWindowsPath(line.library);
  if (!FileExists(library)) return Fail(kExitFailure, "no conduit library at " + library);
  int exitCode = kExitOk;
  std::optional<WinLibrary> manager = LoadConduitManager(installation, &exitCode);
  if (!manager) return exitCode;
  auto install = manager->Get<CmInstallCreatorFn>("CmInstallCreator");
  auto setName = manager->Get<CmSetCreatorTextFn>("CmSetCreatorName");
  auto setDirectory = manager->Get<CmSetCreatorTextFn>("CmSetCreatorDirectory");
  auto setFile = manager->Get<CmSetCreatorTextFn>("CmSetCreatorFile");
  auto setRemote = manager->Get<CmSetCreatorTextFn>("CmSetCreatorRemote");
  auto setTitle = manager->Get<CmSetCreatorTextFn>("CmSetCreatorTitle");
  auto setPriority = manager->Get<CmSetCreatorPriorityFn>("CmSetCreatorPriority");
  if (!install || !setName || !setDirectory || !setFile || !setRemote || !setTitle || !setPriority)
    return Fail(kExitFailure, installation.PathOf(kConduitManagerLibrary) + " lacks a registration function");

  const char* creator = line.creator.c_str();
  std::int32_t type = 1;
  long installed = install(creator, &type);
  if (installed == kCmAlreadyRegistered)
    Say(line.creator + " was registered already; its values are replaced");
  else if (installed != kCmOk)
    return Fail(kExitFailure, "CmInstallCreator failed for " + line.creator + " (" + std::to_string(installed) + ")");
  // The installer's order: library, directory, file, remote database, title, priority.
  struct Step {
    const char* function;
    CmSetCreatorTextFn call;
    const std::string& value;
  };
  const Step steps[] = {
      {"CmSetCreatorName", setName, library},      {"CmSetCreatorDirectory", setDirectory, line.directory},
      {"CmSetCreatorFile", setFile, line.file},    {"CmSetCreatorRemote", setRemote, line.remote},
      {"CmSetCreatorTitle", setTitle, line.title},
  };
  for (const Step& step : steps)
    if (long result = step.call(creator, step.value.c_str()); result != kCmOk)
      return Fail(kExitFailure,
                  std::string(step.function) + " failed for " + line.creator + " (" + std::to_string(result) + ")");
  std::int32_t priority = line.priority;
  if (long result = setPriority(creator, &priority); result != kCmOk)
    return Fail(kExitFailure, "CmSetCreatorPriority failed for " + line.creator + " (" + std::to_string(result) + ")");
  Say("Registered " + line.creator + ": library " + library);
  return kExitOk;
}

int RunUnregister(const Installation& installation, const CommandLine& line) {
  int exitCode = kExitOk;
  std::optional<WinLibrary> manager = LoadConduitManager(installation, &exitCode);
  if (!manager) return exitCode;
  auto remove = manager->Get<CmRemoveConduitByCreatorIDFn>("CmRemoveConduitByCreatorID");
  if (!remove)
    return Fail(kExitFailure, installation.PathOf(kConduitManagerLibrary) + " lacks CmRemoveConduitByCreatorID");
  long result = remove(line.creator.c_str());
  if (result == kCmRemoved) {
    Say("Unregistered " + line.creator);
    return kExitOk;
  }
  if (result == kCmNotRemoved) return Fail(kExitFailure, "no conduit is registered for " + line.creator);
  return Fail(kExitFailure,
              "CmRemoveConduitByCreatorID failed for " + line.creator + " (" + std::to_string(result) + ")");
}

int RunConduits(const Installation& installation) {
  std::string error;
  std::optional<Registrations> registrations = LoadRegistrations(installation.Folder(), &error);
  if (!registrations) return Fail(kExitFailure, "cannot read the registrations: " + error);
  if (registrations->empty()) Say("No conduits registered.");
  for (const ConduitRegistration& conduit : InPriorityOrder(*registrations))
    Say(conduit.creator + " priority " + std::to_string(conduit.priority) + ": title \"" + conduit.title +
        "\", library \"" + conduit.library + "\", directory \"" + conduit.directory + "\", file \"" + conduit.file +
        "\", remote \"" + conduit.remote + "\"");
  return kExitOk;
}

}  // namespace korvet::hotsync
