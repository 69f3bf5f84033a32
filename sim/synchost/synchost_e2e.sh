#!/usr/bin/env bash
# End-to-end test of synchost on a scratch copy of the stand-in HotSync installation, with the test
# conduit registered twice (priorities 1 and 2). Output and files are compared byte for byte; the
# time stamps of log lines are masked as <time>.
#   synchost_e2e.sh SOURCE_DIR BUILD_DIR TEST_CONDUIT_DLL
set -u
shopt -s lastpipe  # expect at the end of a pipeline counts in this shell
source_dir=$1 build=$2 conduit_dll=$3

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
install=$scratch/hotsync
mkdir -p "$install/Handheld" "$scratch/conduit"
for file in synchost.exe sync20.dll hslog20.dll CondMgr.dll; do
  cp "$build/hotsync/$file" "$install/" || { echo "missing $build/hotsync/$file"; exit 1; }
done
cp "$conduit_dll" "$scratch/conduit/test_conduit.dll"

winpath() { local path=${1//\//\\}; printf 'Z:%s' "$path"; }
win_install=$(winpath "$install")
win_conduit=$(winpath "$scratch/conduit/test_conduit.dll")
passed=0 failed=0

# run ARGS...: synchost in the scratch installation, from the scratch folder; sets rc.
run() {
  (cd "$scratch" && "$source_dir/scripts/wine-run" --build "$build" "$win_install\\synchost.exe" "$@") \
    >"$scratch/out" 2>"$scratch/err"
  rc=$?
}
mask() { sed -E 's/^[0-9]{4}-[0-9]{2}-[0-9]{2} [0-9]{2}:[0-9]{2}:[0-9]{2}\t/<time>\t/'; }
crlf() { sed 's/$/\r/'; }
# expect NAME FILE: the file (time stamps masked) equals standard input byte for byte.
expect() {
  local want; want=$(mktemp -p "$scratch")
  cat >"$want"
  if [ -f "$2" ] && mask <"$2" | cmp -s - "$want"; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "FAILED: $1"
    if [ -f "$2" ]; then diff <(cat -A "$want") <(mask <"$2" | cat -A) | head -40; else echo "  no file $2"; fi
  fi
}
expect_rc() {
  if [ "$rc" = "$2" ]; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAILED: $1: exit code $rc, expected $2"; cat "$scratch/err"; fi
}
empty() { : >"$scratch/nothing"; expect "$1" "$2" <"$scratch/nothing"; }

# --- help and bad arguments
run --help
expect_rc "help" 0
if head -1 "$scratch/out" | grep -q '^usage: synchost COMMAND'; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAILED: help text"; fi
run sync --type bogus
expect_rc "bad sync type" 2
crlf <<'X' | expect "bad sync type message" "$scratch/err"
synchost: bad --type "bogus": fast, slow, hh2pc, pc2hh, install, backup, nothing or profile
X
run
expect_rc "no command" 2
run sync
expect_rc "sync without conduits" 0
crlf <<'X' | expect "sync without conduits" "$scratch/out"
No conduits registered.
X

# --- registration: a Linux path and a relative path become full Windows paths
run register TEST "$scratch/conduit/test_conduit.dll" --remote TestDB --file notes.txt --directory 'C:\Data\' --title "Test conduit"
expect_rc "register TEST" 0
crlf <<X | expect "register TEST output" "$scratch/out"
Registered TEST: library $win_conduit
X
run register TST2 conduit/test_conduit.dll --remote Other --priority 1
expect_rc "register TST2" 0
run register TST2 conduit/test_conduit.dll --remote SecondDB --priority 1
expect_rc "register TST2 again" 0
crlf <<X | expect "register TST2 again output" "$scratch/out"
TST2 was registered already; its values are replaced
Registered TST2: library $win_conduit
X
crlf <<X | expect "registration file" "$install/Conduits.txt"
; Conduits registered with the stand-in HotSync Manager.
[TEST]
Type=1
Library=$win_conduit
Directory=C:\\Data\\
File=notes.txt
Remote=TestDB
Title=Test conduit
Priority=2
Info=
[TST2]
Type=1
Library=$win_conduit
Directory=
File=
Remote=SecondDB
Title=TST2
Priority=1
Info=
X
run conduits
expect_rc "conduits" 0
crlf <<X | expect "conduits output" "$scratch/out"
TST2 priority 1: title "TST2", library "$win_conduit", directory "", file "", remote "SecondDB"
TEST priority 2: title "Test conduit", library "$win_conduit", directory "C:\\Data\\", file "notes.txt", remote "TestDB"
X
run register TEST "$scratch/conduit/missing.dll" --remote TestDB
expect_rc "register a missing library" 1
crlf <<X | expect "register a missing library message" "$scratch/err"
synchost: no conduit library at $(winpath "$scratch/conduit/missing.dll")
X

# --- a fast sync runs both conduits in priority order
received() {
  cat <<X
OpenConduit
first argument: set
sync type: $1
local directory: $2
local name: $3
remote count: 1
remote name: $4
second remote name: ""
remote descriptors: null
creator: $5
database type: DATA
category mode: 0
user: $6
log state before: 0
log state after: set
record written: 0
X
}
run sync
expect_rc "fast sync" 0
crlf <<X | expect "fast sync output" "$scratch/out"
Conduit TST2: name "Test Conduit", version 0x101, info "Test Conduit for HotSync User", library $win_conduit
Conduit TST2: fast sync (0) for HotSync User
<time>	-1	Test conduit: sync type 0 of SecondDB
Conduit TST2: OpenConduit returned 0
Conduit TEST: name "Test Conduit", version 0x101, info "Test Conduit for HotSync User", library $win_conduit
Conduit TEST: fast sync (0) for HotSync User
<time>	-1	Test conduit: sync type 0 of TestDB
Conduit TEST: OpenConduit returned 0
X
empty "fast sync writes no errors" "$scratch/err"
{ received 0 "" "" SecondDB TST2 "HotSync User"; received 0 'C:\Data\' notes.txt TestDB TEST "HotSync User"; } |
  expect "what the conduits received" "$scratch/conduit/received.txt"
crlf <<'X' | expect "HotSync log" "$install/HotSync.log"
<time>	-1	Test conduit: sync type 0 of SecondDB
<time>	-1	Test conduit: sync type 0 of TestDB
X
# The conduit left its database open: the end of the session wrote it back.
run handheld dump TestDB
expect_rc "dump what the conduit wrote" 0
crlf <<'X' | expect "dump what the conduit wrote" "$scratch/out"
TestDB: 1 record, type DATA, creator TEST
0 id 1 attributes 0x40 category 0 size 34: from the test conduit, sync type 0
X

# --- configure remembers the chosen action per conduit and user; sync without --type uses it
rm "$scratch/conduit/received.txt"
run configure TEST
expect_rc "configure" 0
crlf <<'X' | expect "configure output" "$scratch/out"
Conduit TEST: CfgConduit returned 0
Conduit TEST: next sync for HotSync User: pc2hh (3)
X
run configure TEST
expect_rc "configure again" 0
crlf <<'X' | expect "configure again output" "$scratch/out"
Conduit TEST: CfgConduit returned 0
Conduit TEST: next sync for HotSync User: hh2pc (2)
X
run configure TEST --user "Ann Lee"
expect_rc "configure another user" 0
configured() {
  cat <<X
CfgConduit
kind: 0
size: 352
version: 1
record size: 352
user known: 1
user: $1
default action: $2
next action: $2
chosen action: $2
default choice: 2
X
}
{ configured "HotSync User" 0; configured "HotSync User" 3; configured "Ann Lee" 0; } |
  expect "what CfgConduit received" "$scratch/conduit/received.txt"
crlf <<'X' | expect "remembered actions" "$install/Actions.txt"
; Sync actions chosen with configure: creator<TAB>action<TAB>user
TEST	2	HotSync User
TEST	3	Ann Lee
X
TEST_CONDUIT_CFG_RESULT=4219 run configure TEST
expect_rc "configure refused by the conduit" 3
crlf <<'X' | expect "configure refused output" "$scratch/out"
Conduit TEST: CfgConduit returned 4219
X
crlf <<'X' | expect "a refused configure changes nothing" "$install/Actions.txt"
; Sync actions chosen with configure: creator<TAB>action<TAB>user
TEST	2	HotSync User
TEST	3	Ann Lee
X
run configure NONE
expect_rc "configure an unregistered creator" 1

rm "$scratch/conduit/received.txt"
run sync --user "Ann Lee"
expect_rc "sync with remembered actions" 0
sed -n '2p;6p' "$scratch/out" >"$scratch/types"
crlf <<'X' | expect "remembered action for TEST, fast for TST2" "$scratch/types"
Conduit TST2: fast sync (0) for Ann Lee
Conduit TEST: pc2hh sync (3) for Ann Lee
X
run sync --type backup
expect_rc "sync --type overrides" 0
grep 'sync (' "$scratch/out" >"$scratch/types"
crlf <<'X' | expect "both conduits backed up" "$scratch/types"
Conduit TST2: backup sync (5) for HotSync User
Conduit TEST: backup sync (5) for HotSync User
X

# --- a conduit result and an unloadable conduit
TEST_CONDUIT_OPEN_RESULT=-5 run sync --type slow
expect_rc "a conduit fails" 3
grep 'returned' "$scratch/out" >"$scratch/results"
crlf <<'X' | expect "failing results" "$scratch/results"
Conduit TST2: OpenConduit returned -5
Conduit TEST: OpenConduit returned -5
X
printf 'not a library' >"$scratch/conduit/broken.dll"
run register BRKN conduit/broken.dll --remote BrokenDB --priority 0
run sync
expect_rc "an unloadable conduit" 1
grep 'returned' "$scratch/out" >"$scratch/results"
crlf <<'X' | expect "the others still ran" "$scratch/results"
Conduit TST2: OpenConduit returned 0
Conduit TEST: OpenConduit returned 0
X
if [ "$(wc -l <"$scratch/err")" = 1 ] && grep -q "^synchost: conduit BRKN: cannot load $(winpath "$scratch/conduit/broken.dll" | sed 's/\\/\\\\/g'): " "$scratch/err"; then
  passed=$((passed + 1))
else
  failed=$((failed + 1)); echo "FAILED: unloadable conduit message"; cat "$scratch/err"
fi

# --- unregister
run unregister BRKN
expect_rc "unregister" 0
crlf <<'X' | expect "unregister output" "$scratch/out"
Unregistered BRKN
X
run unregister BRKN
expect_rc "unregister twice" 1
crlf <<'X' | expect "unregister twice message" "$scratch/err"
synchost: no conduit is registered for BRKN
X

# --- handheld commands
printf 'line 1\r\nC:\\path\0\xe9\tend' >"$scratch/data.bin"
run handheld add MemoDB --text "Hello, handheld"
expect_rc "add text" 0
crlf <<'X' | expect "add text output" "$scratch/out"
Created MemoDB, type DATA, creator KRVT
Added record 0 (id 1) to MemoDB
X
run handheld add MemoDB --file "$scratch/data.bin"
expect_rc "add file" 0
run handheld add MemoDB --file data.bin
expect_rc "add a file by relative path" 0
printf 'Date,Site\r\n2024-03-01,North\r\n' >"$scratch/trip.csv"
run handheld add-report "Trip 12" --file "$scratch/trip.csv"
expect_rc "add report" 0
run handheld add-report Late --file "$scratch/trip.csv" --stamp 2024031
expect_rc "add report with a stamp" 0
run handheld remove MemoDB 0
expect_rc "remove" 0
crlf <<'X' | expect "remove output" "$scratch/out"
Removed record 0 (id 1) from MemoDB
X
run handheld dump MemoDB
expect_rc "dump" 0
crlf <<'X' | expect "dump output" "$scratch/out"
MemoDB: 2 records, type DATA, creator KRVT
0 id 2 attributes 0x40 category 0 size 21: line 1\r\nC:\\path\x00\xE9\tend
1 id 3 attributes 0x40 category 0 size 21: line 1\r\nC:\\path\x00\xE9\tend
X
run handheld dump KORVETDatabaseDB
crlf <<'X' | expect "reports as the device stores them" "$scratch/out"
KORVETDatabaseDB: 2 records, type DATA, creator KRVT
0 id 1 attributes 0x40 category 0 size 45: $0000001Trip 12,Date,Site\r\n2024-03-01,North\r\n
1 id 2 attributes 0x40 category 0 size 42: $2024031Late,Date,Site\r\n2024-03-01,North\r\n
X
run handheld list
crlf <<'X' | expect "list" "$scratch/out"
KORVETDatabaseDB: 2 records, type DATA, creator KRVT
MemoDB: 2 records, type DATA, creator KRVT
SecondDB: 5 records, type DATA, creator TST2
TestDB: 5 records, type DATA, creator TEST
X
run handheld remove MemoDB 2
expect_rc "remove past the end" 2
crlf <<'X' | expect "remove past the end message" "$scratch/err"
synchost: MemoDB has no record 2 (it holds 2)
X
run handheld dump NoSuchDB
expect_rc "dump a missing database" 1
run handheld add MemoDB --file "$scratch/missing.txt"
expect_rc "add a missing file" 1

# --- --fail makes one Sync Manager call fail without effect; --calls counts what the conduits called
run handheld dump TestDB
head -1 "$scratch/out" >"$scratch/testdb-before"
run sync --type fast --fail WriteHandheldRecord:2:0x4003 --calls --fail OpenSyncSession:5:16387
expect_rc "sync with an injected failure" 0
grep '^calls' "$scratch/out" | tr -d '\r' >"$scratch/calls"
expect "call counts" "$scratch/calls" <<'X'
calls OpenSyncSession 2
calls OpenHandheldDatabase 2
calls WriteHandheldRecord 2
calls total 6
X
tail -1 "$scratch/conduit/received.txt" >"$scratch/written"
echo "record written: 16387" | expect "the second conduit's write failed" "$scratch/written"
run handheld dump TestDB
head -1 "$scratch/out" | expect "the failed write added nothing" "$scratch/testdb-before"
for bad in "WriteHandheldRecord:0:1" "NoSuchCall:1:1" "WriteHandheldRecord:1:0" "WriteHandheldRecord:1" "WriteHandheldRecord:1:0xZZ"; do
  run sync --fail "$bad"
  expect_rc "bad --fail $bad" 2
done
run sync --fail NoSuchCall:1:1
crlf <<'X' | expect "bad --fail message" "$scratch/err"
synchost: bad --fail "NoSuchCall:1:1": no Sync Manager operation is called NoSuchCall
X
run sync --calls --calls
expect_rc "--calls twice is harmless" 0

# --- a broken installation
rmdir "$install/Handheld" 2>/dev/null || mv "$install/Handheld" "$scratch/Handheld.moved"
run handheld list
expect_rc "no Handheld folder" 1
crlf <<X | expect "no Handheld folder message" "$scratch/err"
synchost: missing installation folder $win_install\\Handheld
X
mv "$install/sync20.dll" "$scratch/"
run sync
expect_rc "no sync20.dll" 1
crlf <<X | expect "no sync20.dll message" "$scratch/err"
synchost: missing installation file $win_install\\sync20.dll
X

echo "$passed passed, $failed failed"
[ "$failed" = 0 ]
