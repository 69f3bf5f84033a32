#!/usr/bin/env bash
# A user's HotSync from end to end: Korv.dll registered with the stand-in HotSync Manager as the
# installer registers it, the list files as the tools leave them, traverse reports on the emulated
# handheld, one HotSync; then the report files, the log, the handheld and the list files, byte for byte.
#   hotsync_e2e.sh SOURCE_DIR BUILD_DIR
set -u
source_dir=$1 build=$2
. "$source_dir/tests/e2e_lib.sh"

reports=$scratch/Reports
mkdir -p "$reports" "$scratch/samples"
win_reports=$(winpath "$reports")

register_korvet

# --- a list file that cannot be found ends the session with -1
run sync
expect_rc "sync without list file" 3
log_texts >"$scratch/actual"; expect "log without list file" "$scratch/actual" <<'X'
Starting Sync with KorvIR
Unable To Find Xembrafilepath.dat Ostrel settings location file
X
rm -f "$install/HotSync.log"

# --- the reports of a survey day
printf 'Station,N,E\r\nP1,5000.000,1000.000\r\n' >"$scratch/samples/crlf.txt"
printf 'Station,N,E\nL1,1.0,2.0\n' >"$scratch/samples/loop.txt"
printf 'new survey\n' >"$scratch/samples/kept.txt"
printf 'escape\n' >"$scratch/samples/escape.txt"
for report in Creek:crlf Loop:loop Loop:loop Kept:kept 'a:b:escape'; do
  run handheld add-report "${report%:*}" --file "$(winpath "$scratch/samples/${report##*:}.txt")"
  expect_rc "add-report ${report%:*}" 0
done
kept=$(report_file "$reports" Kept) && mkdir -p "${kept%/*}" && printf 'older survey\n' >"$kept"
mkdir -p "$scratch/Settings"
printf 'Ko site one' >"$scratch/Settings/site1.qzl"
printf '%s' "$(winpath "$scratch/Settings")\\,site1.qzl*@^" >"$install/Xembrafilepath.dat"
printf '%s' "$win_reports\\@\$#" >"$install/Cardoon.dat"

# Two reports cannot be saved (a file of that name exists; a name Windows refuses), so the HotSync
# fails, each with its own reason.
run sync
expect_rc "sync that leaves reports on the handheld" 3
log_texts >"$scratch/actual"; expect "session log" "$scratch/actual" <<X
Starting Sync with KorvIR
Korvet
Filename already exist
$(report_file "$win_reports" Kept)
Report name not usable as a file name, the report stays on the handheld: $(report_file "$win_reports" a:b)
KorvIR Sync finished with problems: traverse reports left on the handheld
KorvIR Sync OK...Complete
X
expect "Creek's file" "$(report_file "$reports" Creek)" <"$scratch/samples/crlf.txt"
expect "Loop's file" "$(report_file "$reports" Loop)" <"$scratch/samples/loop.txt"
printf 'older survey\n' | expect "an existing report file is never overwritten" "$(report_file "$reports" Kept)"
saved_reports "$reports" >"$scratch/actual"; expect "report folder" "$scratch/actual" <<'X'
Creek
Kept
Loop
X
: | expect "list emptied by its purge flag" "$install/Xembrafilepath.dat"
printf '%s' "$win_reports\\@\$#" | expect "report folder file unchanged" "$install/Cardoon.dat"

# Reports that were not exported stay on the handheld; the copy of Loop went with duplicate removal.
# The session cleared the records' modified marks.
run handheld dump KORVETDatabaseDB
tr -d '\r' <"$scratch/out" >"$scratch/actual"; expect "left on the handheld" "$scratch/actual" <<'X'
KORVETDatabaseDB: 3 records, type DATA, creator KRVT
0 id 4 attributes 0x00 category 0 size 24: $0000001Kept,new survey\n
1 id 5 attributes 0x00 category 0 size 19: $0000001a:b,escape\n
2 id 6 attributes 0x00 category 0 size 22: site1.qzl,Ko site one*
X
# The settings file went as one record; its backup copy lies beside it, the file itself unchanged.
printf 'Ko site one' | expect "settings file unchanged" "$scratch/Settings/site1.qzl"
printf 'Ko site one' | expect "backup copy" "$scratch/Settings/site1.BAK"

# (configure opens the conduit's dialog: tests/ui drives it through its window)

run unregister KRVT
expect_rc "unregister" 0
run sync
tr -d '\r' <"$scratch/out" >"$scratch/actual"; expect "nothing registered" "$scratch/actual" <<'X'
No conduits registered.
X

finish
