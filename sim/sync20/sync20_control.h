// Control operations of the stand-in Sync Manager (sync20.dll), for the stand-in HotSync Manager and
// for tests. Exported by name; plain C calls.
#pragma once

extern "C" {

// The emulated handheld becomes folder\Handheld (created when missing). Databases still open are
// written back and closed first, as when another handheld is connected. 0 on success;
// kSyncErrStorage when the folder cannot be made or a database could not be written back.
long SimSetInstallDirectory(const char* folder);

// Closes every open database, writing it back, and forgets the handles and sync sessions. 0 on
// success; kSyncErrStorage when a database could not be written (it is forgotten all the same).
long SimEndSession();

// The nth call (1 = the next one), counted from this call, of the named Sync Manager operation
// returns `code` and has no effect. Several failures may be pending at once.
long SimFailOperation(const char* operation, long nthCall, long code);
long SimClearFailures();

// The nth call (1 = the next one), counted from this call, of the named Sync Manager operation ends
// the process at once (exit code 86), as a crash of the host would: no database is written back.
// SimClearFailures forgets it too.
long SimKillAtOperation(const char* operation, long nthCall);

// Calls of the named operation since the last SimResetCallCounts (failed and injected ones too);
// -1 for a name that is no Sync Manager operation.
long SimCallCount(const char* operation);
long SimResetCallCounts();

// Microseconds spent inside the Sync Manager operations, all of them together, since the last
// SimResetCallCounts: what a benchmark subtracts to tell the emulated handheld's own time (loading
// and writing back its files) from its caller's.
long SimCallMicroseconds();

// Record bytes read from or written to the handheld since the last SimResetCallCounts.
long long SimBytesMoved();
}
