#!/usr/bin/env bash
# Settings files reach the handheld: each listed file becomes one record of "KORVETDatabaseDB" (name,
# comma, text, asterisk), its ".BAK" copy appears beside it, the file itself is never changed, older
# copies go, and the sync types that recreate the database keep the device's traverse reports.
#   settings_transfer_e2e.sh SOURCE_DIR BUILD_DIR
set -u
source_dir=$1 build=$2
. "$source_dir/tests/e2e_lib.sh"

settings=$scratch/Settings
reports=$scratch/Reports
mkdir -p "$settings" "$reports"
win_settings=$(winpath "$settings")
win_reports=$(winpath "$reports")

register_korvet

# list FILE...: the settings-file list as the list editor leaves it, purge flag off.
list() {
  local entry text=""
  for entry in "$@"; do text+="$win_settings\\,$entry*"; done
  printf '%s@' "$text" >"$install/Xembrafilepath.dat"
}
records() {
  run handheld dump KORVETDatabaseDB
  tr -d '\r' <"$scratch/out" | tail -n +2 | sed 's/^[0-9]* id [0-9]* attributes 0x.. category . //' >"$scratch/actual"
}

# --- one file, one record of 14 bytes; the backup copy; the file untouched
printf 'Ko1' >"$settings/dummy.qzl"
touch -d '2020-01-02 03:04:05' "$settings/dummy.qzl"
before=$(stat -c %Y "$settings/dummy.qzl")
list dummy.qzl
run sync
expect_rc "fast sync" 0
records; expect "one record" "$scratch/actual" <<'X'
size 14: dummy.qzl,Ko1*
X
printf 'Ko1' | expect "backup copy" "$settings/dummy.BAK"
printf 'Ko1' | expect "settings file unchanged" "$settings/dummy.qzl"
[ "$(stat -c %Y "$settings/dummy.qzl")" = "$before" ] && passed=$((passed + 1)) || { failed=$((failed + 1)); echo "FAILED: settings file time changed"; }

# --- the same file in a second session leaves one record, with the file's new text
printf 'Ko2' >"$settings/dummy.qzl"
run sync
expect_rc "second session" 0
records; expect "still one record" "$scratch/actual" <<'X'
size 14: dummy.qzl,Ko2*
X

# --- a slow sync with a backup copy of the last session sends the file itself, not the copy
printf 'Ko3' >"$settings/dummy.qzl"
run sync --type slow
expect_rc "slow sync" 0
records; expect "slow sync sends the file's own record" "$scratch/actual" <<'X'
size 14: dummy.qzl,Ko3*
X
printf 'Ko3' | expect "backup refreshed" "$settings/dummy.BAK"

# --- handheld overwrites desktop and backup send nothing, and that is no failure
printf 'Ko9' >"$settings/dummy.qzl"
for type in hh2pc backup; do
  run sync --type $type
  expect_rc "$type" 0
  records; expect "$type sends nothing" "$scratch/actual" <<'X'
size 14: dummy.qzl,Ko3*
X
done
printf 'Ko3' >"$settings/dummy.qzl"

# --- a settings file is text: one with a zero byte (saved as UTF-16, damaged) would be cut at it, so
# nothing of it is sent, and the log says why
printf 'Ko4\0hidden' >"$settings/zero.qzl"
list zero.qzl
rm -f "$install/HotSync.log"
run sync
expect_rc "zero byte" 3
records; expect "nothing of a file with a zero byte" "$scratch/actual" <<'X'
size 14: dummy.qzl,Ko3*
X
grep -a 'zero byte' "$install/HotSync.log" | cut -f3- | tr -d '\r' >"$scratch/actual"
expect "the zero byte in the log" "$scratch/actual" <<X
Ostrel settings file damaged (it holds a zero byte), not sent: $win_settings\\zero.qzl
X

# --- desktop overwrites handheld: three files all arrive, the device's reports stay and come back
rm -f "$install/Handheld/"*.pdb
run handheld add-report Traverse7 --file "$(winpath "$settings/dummy.qzl")"
expect_rc "add-report" 0
run handheld add KORVETDatabaseDB --text "old.qzl,Ko0*" --creator KRVT --type DATA
printf 'Koa' >"$settings/a.qzl"; printf 'Kob' >"$settings/b.qzl"; printf 'Koc' >"$settings/c.qzl"
list a.qzl b.qzl c.qzl
printf "%s" "$win_reports\\@\$%" >"$install/Cardoon.dat"
run sync --type pc2hh
expect_rc "desktop overwrites handheld" 0
records; expect "three files and the report" "$scratch/actual" <<'X'
size 21: $0000001Traverse7,Ko3
size 10: a.qzl,Koa*
size 10: b.qzl,Kob*
size 10: c.qzl,Koc*
X
printf 'Ko3' | expect "the report was retrieved" "$(report_file "$reports" Traverse7)"

# --- a file that cannot be sent is named in the log, fails its run (activity 21 on the conduit's line)
# and the session; the others still go
rm -f "$install/Handheld/"*.pdb "$install/HotSync.log"
long=$(printf 'n%.0s' $(seq 1 30)).qzl
printf 'Kolong' >"$settings/$long"
printf 'K%0600d' 0 >"$settings/big.qzl"
list "$long" big.qzl missing.qzl a.qzl
printf '%s' "$win_reports\\@^%" >"$install/Cardoon.dat"
run sync
expect_rc "refused files fail the session" 3
grep -a 'OpenConduit returned' "$scratch/out" | tr -d '\r' >"$scratch/actual"
expect "the first failure is the result" "$scratch/actual" <<'X'
Conduit KRVT: OpenConduit returned 4373
X
cut -f2- "$install/HotSync.log" | tr -d '\r' >"$scratch/actual"; expect "refusals in the log" "$scratch/actual" <<X
-1	Starting Sync with KorvIR
-1	Ostrel settings file name longer than 29 characters, not sent: $win_settings\\$long
21	Korvet
-1	Ostrel settings file too long for its record, not sent: $win_settings\\big.qzl
21	Korvet
-1	Unable To Find Settings File
-1	$win_settings\\missing.qzl
21	Korvet
20	Korvet
-1	KorvIR Sync finished with problems: 3 of 4 listed Ostrel settings files not sent
-1	KorvIR Sync OK...Complete
X
records; expect "only the sound file arrived" "$scratch/actual" <<'X'
size 10: a.qzl,Koa*
X

# --- a file that is not a settings file, with the database there, and a file too long for its
# record in a slow sync: neither looks sent
printf 'a text, no settings' >"$settings/text.qzl"
for case in "fast text.qzl" "slow big.qzl"; do
  set -- $case
  rm -f "$install/HotSync.log"
  list "$2"
  run sync --type "$1"
  expect_rc "$1 sync of $2" 3
  grep -a 'OpenConduit returned' "$scratch/out" | tr -d '\r' >"$scratch/actual"
  expect "$1 sync of $2: not found" "$scratch/actual" <<'X'
Conduit KRVT: OpenConduit returned 4373
X
  cut -f2- "$install/HotSync.log" | tr -d '\r' | sed -n '2,3p' >"$scratch/actual"
  if [ "$2" = text.qzl ]; then why="Not an Ostrel settings file"; else why="Ostrel settings file too long for its record"; fi
  expect "$1 sync of $2: the log says so" "$scratch/actual" <<X
-1	$why, not sent: $win_settings\\$2
21	Korvet
X
done

# --- a missing file alone ends with the not-found code, not the backup copy's
list missing.qzl
run sync
grep -a 'OpenConduit returned' "$scratch/out" | tr -d '\r' >"$scratch/actual"
expect "missing file: not found" "$scratch/actual" <<'X'
Conduit KRVT: OpenConduit returned 4373
X

# --- a not-found from a read while the database is recreated is a failure that deletes nothing
rm -f "$install/Handheld/"*.pdb
run handheld add-report North --file "$(winpath "$settings/a.qzl")"
run handheld add-report South --file "$(winpath "$settings/b.qzl")"
list a.qzl
printf '%s' "$win_reports\\@" >"$install/Cardoon.dat"
run sync --type pc2hh --fail ReadHandheldRecordByIndex:1:0x4003
expect_rc "not-found while recreating" 3
records; expect "both reports kept" "$scratch/actual" <<'X'
size 17: $0000001North,Koa
size 17: $0000001South,Kob
X

finish
