// Test seam: true makes a HotSync also make the Sync Manager calls whose answers it does not use, as
// earlier versions did: a Sync Manager session, a database open and a system information read for
// every listed settings file, the application information block in a mirror sync, the record index
// reset before a count, and a purge when nothing is marked for it. A test runs both ways and compares
// everything the two leave behind.
#pragma once

namespace korvet::sync {

void MakeUnusedCalls(bool make);
bool MakesUnusedCalls();

}  // namespace korvet::sync
