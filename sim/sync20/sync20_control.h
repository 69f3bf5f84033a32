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

// What a planted fault does to the call it hits.
enum SimFaultKind : long {
  kSimFaultFail = 0,  // the call returns `code` and has no effect
  kSimFaultKill = 1,  // the call ends the process at once (exit code 86), as a crash of the host would: no
                      // database is written back; `code` is unused
  kSimFaultLastKind = kSimFaultKill,
};

// Plants a fault at the nth call (1 = the next one), counted from this call, of the named Sync Manager
// operation. Several faults may be pending at once. 0, or kSyncErrUnknownOperation for a name that is
// no Sync Manager operation, kSyncErrBadArgument for another bad argument.
long SimInjectFault(long kind, const char* operation, long nthCall, long code);
// Forgets every pending fault.
long SimClearFailures();

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
