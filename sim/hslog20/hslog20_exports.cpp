// The exports of the stand-in hslog20.dll: one log per process, by default HotSync.log beside the DLL.
#include <cstdint>

#include "common/paths.h"
#include "common/win_library.h"
#include "sim/hslog20/hotsync_log.h"
#include "sim/hslog20/hslog20_control.h"
#include "sim/support/sim_files.h"

namespace {

korvet::hotsync::HotSyncLog& Log() {
  static const char anchor = 0;
  static korvet::hotsync::HotSyncLog log(korvet::JoinPath(korvet::FolderOfModuleContaining(&anchor), "HotSync.log"));
  return log;
}

}  // namespace

extern "C" {

long AppendHotSyncLog(const char* text, long activity, long /*reserved*/) { return Log().Append(text, activity); }

std::uint16_t QueryHotSyncLogState() { return Log().State(); }

long SimLogSetFile(const char* path) {
  Log().SetFile(path ? path : "");
  return 0;
}

long SimLogBeginConduit() {
  Log().BeginConduit();
  return 0;
}

long SimLogSetEcho(long on) {
  Log().SetEcho(on != 0);
  return 0;
}

}  // extern "C"
