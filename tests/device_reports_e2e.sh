#!/usr/bin/env bash
# Traverse reports as a real device keeps them: an ordinary one, a private one, one the user deleted
# while keeping a desktop copy (archived: deleted, data kept) and one the user simply deleted (data
# gone), beside a settings record the user deleted. Every sync type, with and without a listed
# settings file, retrieval off, on, and on with deletion. Nothing that held data is lost, nothing
# deleted is written, and the deleted settings record goes exactly when the synchronizer's purge
# would take it.
#   device_reports_e2e.sh SOURCE_DIR BUILD_DIR
set -u
source_dir=$1 build=$2
. "$source_dir/tests/e2e_lib.sh"

settings=$scratch/Settings
reports=$scratch/Reports
mkdir -p "$settings" "$scratch/samples"
win_settings=$(winpath "$settings")
win_reports=$(winpath "$reports")
database=$install/Handheld/KORVETDatabaseDB.pdb

register_korvet

# The device's database, made once: records 0 to 4.
run handheld add KORVETDatabaseDB --text "old.qzl,Ko old*" --creator KRVT --type DATA
for name in Ordinary Private Archived Deleted; do
  printf '%s,traverse\r\n' "$name" >"$scratch/samples/$name.txt"
  private=(); [ $name = Private ] && private=(--private)
  run handheld add-report $name --file "$(winpath "$scratch/samples/$name.txt")" "${private[@]}"
  expect_rc "add-report $name" 0
done
run handheld delete KORVETDatabaseDB 0
expect_rc "delete the settings record" 0
run handheld archive KORVETDatabaseDB 3
expect_rc "archive" 0
run handheld delete KORVETDatabaseDB 4
expect_rc "delete" 0
run handheld dump KORVETDatabaseDB
tr -d '\r' <"$scratch/out" >"$scratch/actual"; expect "the device's database" "$scratch/actual" <<'X'
KORVETDatabaseDB: 5 records, type DATA, creator KRVT
0 id 1 attributes 0xC0 category 0 size 0: 
1 id 2 attributes 0x40 category 0 size 36: $0000001Ordinary,Ordinary,traverse\r\n
2 id 3 attributes 0x50 category 0 size 34: $0000001Private,Private,traverse\r\n
3 id 4 attributes 0xC8 category 0 size 36: $0000001Archived,Archived,traverse\r\n
4 id 5 attributes 0xC0 category 0 size 0: 
X
cp "$database" "$scratch/device.pdb"
printf 'Ko new' >"$settings/new.qzl"

# scenario TYPE LIST RETRIEVAL: LIST is "list" or "none", RETRIEVAL "off", "keep" or "delete".
# Afterwards $scratch/left holds what stays on the handheld (attributes and the record up to its
# comma), $scratch/files the report files.
scenario() {
  cp "$scratch/device.pdb" "$database"
  rm -rf "$reports" "$install/HotSync.log"
  mkdir -p "$reports"
  if [ "$2" = list ]; then printf '%s' "$win_settings\\,new.qzl*@" >"$install/Xembrafilepath.dat"; else printf '@' >"$install/Xembrafilepath.dat"; fi
  case $3 in
    off) printf '%s' "$win_reports\\@^%" >"$install/Cardoon.dat" ;;
    keep) printf '%s' "$win_reports\\@\$%" >"$install/Cardoon.dat" ;;
    delete) printf '%s' "$win_reports\\@\$#" >"$install/Cardoon.dat" ;;
  esac
  run sync --type "$1"
  run handheld dump KORVETDatabaseDB
  tr -d '\r' <"$scratch/out" | tail -n +2 | sed -E 's/^[0-9]+ id [0-9]+ attributes (0x..) category [0-9]+ size [0-9]+: ([^,]*).*/\1 \2/' >"$scratch/left"
  saved_reports "$reports" >"$scratch/files"
  for name in Ordinary Private Archived; do
    if [ -f "$(report_file "$reports" $name)" ]; then
      printf '%s,traverse\r\n' "$name" | expect "$* $name's file byte for byte" "$(report_file "$reports" $name)"
    fi
  done
}

# Retrieval on: every report that holds data is saved, private and archived ones included; the
# deleted one never. With deletion the saved reports go; the device's deleted records go where the
# purge of a synchronizer that ran would have taken them (fast and slow sync).
for type in fast slow; do
  scenario $type list delete
  expect "$type with a list: left" "$scratch/left" <<'X'
0x00 new.qzl
X
  expect "$type with a list: files" "$scratch/files" <<'X'
Archived
Ordinary
Private
X
  scenario $type list keep
  expect "$type with a list, reports kept: left" "$scratch/left" <<'X'
0x00 $0000001Ordinary
0x10 $0000001Private
0x00 new.qzl
X
  scenario $type none delete
  expect "$type without a list: left" "$scratch/left" <<'X'
0xC0 
0xC0 
X
  expect "$type without a list: files" "$scratch/files" <<'X'
Archived
Ordinary
Private
X
done
# Desktop overwrites handheld removes the settings records and keeps the reports.
scenario pc2hh list delete
expect "pc2hh with a list: left" "$scratch/left" <<'X'
0x00 new.qzl
X
expect "pc2hh with a list: files" "$scratch/files" <<'X'
Archived
Ordinary
Private
X
# Handheld overwrites desktop and backup send nothing and purge nothing.
for type in hh2pc backup; do
  scenario $type list delete
  expect "$type with a list: files" "$scratch/files" <<'X'
Archived
Ordinary
Private
X
done
expect "backup leaves the device's deleted records, marks and all" "$scratch/left" <<'X'
0xC0 
0xC0 
X

# Retrieval off: the purge due after a fast sync must not take the unsaved archived report, so the
# records it would take go one by one instead.
scenario fast list off
expect "fast with a list, retrieval off: left" "$scratch/left" <<'X'
0x00 $0000001Ordinary
0x10 $0000001Private
0x88 $0000001Archived
0x00 new.qzl
X

# Retrieval off: every report stays on the handheld as it was, the archived one with its data.
for type in fast slow pc2hh hh2pc backup; do
  for listed in list none; do
    scenario $type $listed off
    [ -s "$scratch/files" ] && { failed=$((failed + 1)); echo "FAILED: $type $listed off wrote"; cat "$scratch/files"; }
    grep -c '^0x.[08] \$0000001\(Ordinary\|Private\)$' "$scratch/left" | tr -d '\n' >"$scratch/count"
    printf 2 | expect "$type $listed, retrieval off: the live reports stay" "$scratch/count"
    grep '\$0000001Archived' "$scratch/left" | cut -c1-4 >"$scratch/archived"
    case $type:$listed in
      backup:*|*:none) want=0xC8 ;;  # marks untouched
      *) want=0x88 ;;                # the changed mark cleared at the close
    esac
    echo $want | expect "$type $listed, retrieval off: the archived report stays" "$scratch/archived"
  done
done

finish
