#include "sim/synchost/host_libraries.h"

#include "sim/support/win_handles.h"

namespace korvet::hotsync {

std::optional<HostLibraries> HostLibraries::Load(const Installation& installation, std::string* error) {
  HostLibraries host;
  std::string syncPath = installation.PathOf(kSyncManagerLibrary), logPath = installation.PathOf(kHotSyncLogLibrary);
  host.syncManager_ = sim::LoadLibraryOrExplain(syncPath, error);
  if (!host.syncManager_.IsLoaded()) return std::nullopt;
  host.hotSyncLog_ = sim::LoadLibraryOrExplain(logPath, error);
  if (!host.hotSyncLog_.IsLoaded()) return std::nullopt;
  host.setInstallDirectory_ = host.syncManager_.Get<decltype(&SimSetInstallDirectory)>("SimSetInstallDirectory");
  host.endSession_ = host.syncManager_.Get<decltype(&SimEndSession)>("SimEndSession");
  host.injectFault_ = host.syncManager_.Get<decltype(&SimInjectFault)>("SimInjectFault");
  host.callCount_ = host.syncManager_.Get<decltype(&SimCallCount)>("SimCallCount");
  host.bytesMoved_ = host.syncManager_.Get<decltype(&SimBytesMoved)>("SimBytesMoved");
  host.resetCallCounts_ = host.syncManager_.Get<decltype(&SimResetCallCounts)>("SimResetCallCounts");
  host.beginConduit_ = host.hotSyncLog_.Get<SimLogBeginConduitFn>("SimLogBeginConduit");
  host.setEcho_ = host.hotSyncLog_.Get<SimLogSetEchoFn>("SimLogSetEcho");
  if (!host.setInstallDirectory_ || !host.endSession_ || !host.injectFault_ || !host.callCount_ ||
      !host.resetCallCounts_ || !host.bytesMoved_) {
    *error = syncPath + " lacks one of its control operations (sync20_control.h)";
    return std::nullopt;
  }
  if (!host.beginConduit_ || !host.setEcho_) {
    *error = logPath + " lacks SimLogBeginConduit or SimLogSetEcho";
    return std::nullopt;
  }
  return host;
}

}  // namespace korvet::hotsync
