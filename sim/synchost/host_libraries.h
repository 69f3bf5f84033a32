// The installation's Sync Manager and HotSync log, loaded by synchost for their control operations
// before any conduit; a conduit that links them by name then shares these very copies.
#pragma once

#include <optional>
#include <string>

#include "common/win_library.h"
#include "sim/hslog20/hslog20_control.h"
#include "sim/sync20/sync20_control.h"
#include "sim/synchost/installation.h"

namespace korvet::hotsync {

class HostLibraries {
 public:
  // Nothing when a library does not load or lacks a control operation; *error says which.
  static std::optional<HostLibraries> Load(const Installation& installation, std::string* error);

  long SetInstallDirectory(const std::string& folder) const { return setInstallDirectory_(folder.c_str()); }
  // Writes back every database the conduit left open and forgets its sessions.
  long EndSession() const { return endSession_(); }
  void BeginConduit() const { beginConduit_(); }
  void SetEcho(bool on) const { setEcho_(on ? 1 : 0); }
  // The Sync Manager's failure injection and call counters.
  long InjectFault(long kind, const std::string& operation, long nthCall, long code) const {
    return injectFault_(kind, operation.c_str(), nthCall, code);
  }
  long CallCount(const std::string& operation) const { return callCount_(operation.c_str()); }
  long long BytesMoved() const { return bytesMoved_(); }
  void ResetCallCounts() const { resetCallCounts_(); }

 private:
  WinLibrary syncManager_;
  WinLibrary hotSyncLog_;
  decltype(&SimSetInstallDirectory) setInstallDirectory_ = nullptr;
  decltype(&SimEndSession) endSession_ = nullptr;
  decltype(&SimInjectFault) injectFault_ = nullptr;
  decltype(&SimCallCount) callCount_ = nullptr;
  decltype(&SimBytesMoved) bytesMoved_ = nullptr;
  decltype(&SimResetCallCounts) resetCallCounts_ = nullptr;
  SimLogBeginConduitFn beginConduit_ = nullptr;
  SimLogSetEchoFn setEcho_ = nullptr;
};

}  // namespace korvet::hotsync
