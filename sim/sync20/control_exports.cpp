// The exported control operations (sync20_control.h).
#include <string>

#include "sim/sync20/library_state.h"
#include "sim/sync20/sync20_control.h"
#include "sim/sync20/sync20_errors.h"

using korvet::sim::Handheld;
using korvet::sim::Monitor;

long SimSetInstallDirectory(const char* folder) {
  if (folder == nullptr || *folder == '\0') return korvet::sim::kSyncErrBadArgument;
  const long ended = Handheld().EndSession();
  Handheld().SetInstallFolder(folder);
  const long created = Handheld().PrepareFolder();
  return ended != 0 ? ended : created;
}

long SimEndSession() { return Handheld().EndSession(); }

long SimInjectFault(long kind, const char* operation, long nthCall, long code) {
  if (operation == nullptr) return korvet::sim::kSyncErrBadArgument;
  return Monitor().InjectFault(kind, operation, nthCall, code);
}

long SimClearFailures() {
  Monitor().ClearFailures();
  return 0;
}

long SimCallCount(const char* operation) { return operation == nullptr ? -1 : Monitor().Count(operation); }

long SimResetCallCounts() {
  Monitor().ResetCounts();
  return 0;
}

long SimCallMicroseconds() { return Monitor().Microseconds(); }

long long SimBytesMoved() { return Monitor().Bytes(); }
