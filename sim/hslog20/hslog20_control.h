// Control operations of the stand-in HotSync log (hslog20.dll), for synchost and the tests. They are
// exported by name beside AppendHotSyncLog (ordinal 52) and QueryHotSyncLogState (ordinal 56).
#pragma once

extern "C" {
// The file the log lines go to; null or empty restores the default, HotSync.log in the folder the
// DLL was loaded from. Returns 0.
long SimLogSetFile(const char* path);
// A conduit starts: QueryHotSyncLogState answers 0 again until the next append. Returns 0.
long SimLogBeginConduit();
// Non-zero: also print each line to standard output as it is appended. Returns 0.
long SimLogSetEcho(long on);

using SimLogSetFileFn = long (*)(const char* path);
using SimLogBeginConduitFn = long (*)();
using SimLogSetEchoFn = long (*)(long on);
}
