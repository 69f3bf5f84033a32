// synchost sync: runs every registered conduit once, in priority order.
#include <algorithm>
#include <cstdio>
#include <optional>

#include "conduit/platform/conduit_records.h"
#include "sim/sync20/link_model.h"
#include "sim/sync20/operation_names.h"
#include "sim/synchost/commands.h"
#include "sim/synchost/conduit_library.h"
#include "sim/synchost/console.h"
#include "sim/synchost/host_libraries.h"
#include "sim/synchost/host_settings.h"
#include "sim/synchost/sync_properties_builder.h"

namespace korvet::hotsync {
namespace {

// What OpenConduit's first argument points at; the conduit only tests it for null.
struct HostContext {
  char signature[16] = "synchost";
};

std::string SyncTypeText(std::int32_t type) {
  std::optional<std::string_view> name = SyncTypeName(type);
  return std::string(name ? *name : "unknown") + " sync (" + std::to_string(type) + ")";
}

// --type when given; else the action chosen with configure when it is a sync type; else fast.
std::int32_t SyncTypeFor(const CommandLine& line, const RememberedActions& actions, const std::string& creator) {
  if (line.syncType) return *line.syncType;
  std::optional<std::int32_t> action = actions.Find(creator, line.user);
  if (action && SyncTypeName(*action)) return *action;
  if (action)
    Say("Conduit " + creator + ": remembered action " + std::to_string(*action) + " is no sync type, using fast");
  return kFastSync;
}

long TotalCalls(const HostLibraries& host) {
  long total = 0;
  for (std::string_view operation : sim::kSyncOperationNames)
    total += std::max(0L, host.CallCount(std::string(operation)));
  return total;
}

// "calls OPERATION COUNT" for every operation called, then "calls total COUNT".
void ReportCalls(const HostLibraries& host) {
  for (std::string_view operation : sim::kSyncOperationNames) {
    const long count = host.CallCount(std::string(operation));
    if (count > 0) Say("calls " + std::string(operation) + " " + std::to_string(count));
  }
  Say("calls total " + std::to_string(TotalCalls(host)));
}

// "link MODEL SECONDS": what the session's calls and bytes take over the modelled cradle.
void ReportLink(const HostLibraries& host, const std::string& link) {
  const sim::LinkModel model = *sim::FindLinkModel(link);
  char seconds[32];
  std::snprintf(seconds, sizeof seconds, "%.3f", sim::LinkSeconds(model, TotalCalls(host), host.BytesMoved()));
  Say("link " + link + " " + seconds);
}

void ReportAfterSession(const HostLibraries& host, const CommandLine& line) {
  if (line.reportCalls) ReportCalls(host);
  if (!line.link.empty()) ReportLink(host, line.link);
}

}  // namespace

int RunSync(const Installation& installation, const CommandLine& line) {
  int exitCode = kExitOk;
  std::optional<HostSettings> settings = LoadHostSettings(installation, &exitCode);
  if (!settings) return exitCode;
  std::string error;
  std::optional<HostLibraries> host = HostLibraries::Load(installation, &error);
  if (!host) return Fail(kExitFailure, error);
  if (long result = host->SetInstallDirectory(installation.Folder()); result != 0)
    return Fail(kExitFailure,
                "the Sync Manager cannot use " + installation.HandheldFolder() + " (" + std::to_string(result) + ")");
  host->SetEcho(true);
  // Failures count calls from here, across every conduit of this session.
  host->ResetCallCounts();
  for (const InjectedFault& fault : line.faults) {
    if (long result = host->InjectFault(fault.kind, fault.operation, fault.nthCall, fault.code); result != 0)
      return Fail(kExitBadArguments, std::string("the Sync Manager refused ") + FaultOption(fault.kind) + " " +
                                         fault.operation + " (" + std::to_string(result) + ")");
  }

  if (settings->registrations.empty()) {
    Say("No conduits registered.");
    ReportAfterSession(*host, line);
    return kExitOk;
  }
  const RememberedActions& actions = settings->actions;
  bool unloadable = false, failed = false;
  HostContext context;
  for (const ConduitRegistration& conduit : InPriorityOrder(settings->registrations)) {
    std::string who = "conduit " + conduit.creator;
    // Like HotSync Manager, a conduit whose user chose "Do nothing" is not called at all.
    if (!line.syncType && actions.Find(conduit.creator, line.user) == kActionDoNothing) {
      Say("Conduit " + conduit.creator + ": do nothing for " + line.user + ", not called");
      continue;
    }
    std::optional<ConduitLibrary> library = ConduitLibrary::Load(conduit.library, &error);
    if (!library) {
      Complain(who + ": " + error);
      unloadable = true;
      continue;
    }
    std::int32_t syncType = SyncTypeFor(line, settings->actions, conduit.creator);
    std::optional<SyncProperties> properties = BuildSyncProperties(conduit, syncType, line.user, &error);
    if (!properties) {
      Complain(who + ": " + error);
      unloadable = true;
      continue;
    }
    Say("Conduit " + conduit.creator + ": " + library->Describe(line.user) + ", library " + conduit.library);
    Say("Conduit " + conduit.creator + ": " + SyncTypeText(syncType) + " for " + line.user);
    host->BeginConduit();
    long result = library->Exports().openConduit(&context, &*properties);
    long ended = host->EndSession();
    Say("Conduit " + conduit.creator + ": OpenConduit returned " + std::to_string(result));
    if (ended != 0) {
      Complain(who + ": the handheld databases could not all be written back (" + std::to_string(ended) + ")");
      unloadable = true;
    }
    if (result != 0) failed = true;
  }
  ReportAfterSession(*host, line);
  return unloadable ? kExitFailure : failed ? kExitConduitFailed : kExitOk;
}

}  // namespace korvet::hotsync
