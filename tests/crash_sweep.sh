#!/usr/bin/env bash
# The crash sweep: a standard HotSync (three settings files, one with an older copy on the handheld,
# reports with newer copies, one archived and one deleted on the device, retrieval and deletion on) is ended abruptly at each of its Sync Manager
# calls in turn (synchost sync --kill), then a clean session follows. After the crash no report file
# stands cut under a report's name; after the clean session every report is in its .csv byte for
# byte and gone from the handheld, no temporary file is left, and the settings files are unchanged.
#   crash_sweep.sh SOURCE_DIR BUILD_DIR [OPERATION:N]   (one case only)
set -u
source_dir=$1 build=$2 only=${3:-}
. "$source_dir/tests/e2e_lib.sh"

reports=$scratch/Reports settings=$scratch/Settings samples=$scratch/samples
mkdir -p "$reports" "$settings" "$samples"
register_korvet

printf 'Ko site one\r\nunits=m\r\n' >"$settings/site1.qzl"
printf 'Ko site two' >"$settings/site2.qzl"
printf 'Ko three, with a comma' >"$settings/site3.qzl"
list=""
for name in site1.qzl site2.qzl site3.qzl; do list+="$(winpath "$settings")\\,$name*"; done
printf '%s@$' "$list" >"$install/Xembrafilepath.dat"
printf '%s\\@$#' "$(winpath "$reports")" >"$install/Cardoon.dat"
printf 'site2.qzl,Ko older two*' >"$samples/old2"
run handheld add KORVETDatabaseDB --file "$(winpath "$samples/old2")"
# Reports T1..T6; T2 and T5 come twice, the newer copy last. expected/ holds what each file must be,
# where it must be.
expect_report() { local file; file=$(report_file "$scratch/expected" "$1"); mkdir -p "${file%/*}"; cp "$samples/$1" "$file"; }
for entry in T1:a T2:b T3:c T2:B T4:d T5:e T6:f T5:E; do
  name=${entry%:*} text="Station,N,E\r\n${entry#*:}1,5000.000,1000.000\r\n"
  printf "$text" >"$samples/$name"
  expect_report "$name"
  run handheld add-report "$name" --file "$(winpath "$samples/$name")"
  expect_rc "add-report $name" 0
done
# T7 the user deleted on the device keeping a desktop copy (archived: it must still reach its file),
# T8 deleted outright (its file must never appear).
for entry in T7:g T8:h; do
  printf "Station,N,E\r\n${entry#*:}1,5000.000,1000.000\r\n" >"$samples/${entry%:*}"
  run handheld add-report "${entry%:*}" --file "$(winpath "$samples/${entry%:*}")"
done
expect_report T7
run handheld archive KORVETDatabaseDB 9
expect_rc "archive T7" 0
run handheld delete KORVETDatabaseDB 10
expect_rc "delete T8" 0
cp -r "$settings" "$scratch/settings.orig"
cp -r "$install" "$scratch/install.orig"

restore() {
  rm -rf "$install" "$reports" "$settings" && cp -r "$scratch/install.orig" "$install" &&
    cp -r "$scratch/settings.orig" "$settings" && mkdir -p "$reports"
}

# Every report file present holds its report whole; no other file but the temporary one (or the
# staging folder that holds it).
check_files() {
  local what=$1 file
  while read -r file; do
    case $file in
      '~KorvIR '*) ;;
      *) if ! cmp -s "$reports/$file" "$scratch/expected/$file"; then
           failed=$((failed + 1)); echo "FAILED: $what: $file is not the whole report"; return
         fi ;;
    esac
  done < <(cd "$reports" && find . -type f | sed 's|^\./||')
  passed=$((passed + 1))
}

check_completed() {
  local what=$1 file
  check_files "$what"
  saved_reports "$reports" >"$scratch/actual"; expect "$what: report folder" "$scratch/actual" <<<"$(saved_reports "$scratch/expected")"
  run handheld dump KORVETDatabaseDB
  grep -c '\$0000001' "$scratch/out" >"$scratch/actual"; expect "$what: reports gone from the handheld" "$scratch/actual" <<<0
  grep -c 'attributes 0x[C8]' "$scratch/out" >"$scratch/actual"; expect "$what: deleted records purged" "$scratch/actual" <<<0
  for file in "$scratch/settings.orig"/*; do
    cmp "$file" "$settings/$(basename "$file")" >"$scratch/actual" 2>&1
    expect "$what: $(basename "$file") unchanged" "$scratch/actual" </dev/null
  done
}

# The clean session, counted.
restore
run sync --calls; cp "$scratch/out" "$scratch/clean.out"
expect_rc "clean session" 0
check_completed "clean session"
grep '^calls [A-Za-z]' "$scratch/clean.out" | grep -v '^calls total' | tr -d '\r' >"$scratch/calls"
total=$(grep '^calls total' "$scratch/clean.out" | tr -dc 0-9)

cases=0
while read -r _ operation count; do
  for ((nth = 1; nth <= count; nth++)); do
    [ -n "$only" ] && [ "$only" != "$operation:$nth" ] && continue
    what="--kill $operation:$nth"
    restore
    run sync --kill "$operation:$nth"
    expect_rc "$what" 86
    check_files "$what"
    run sync
    expect_rc "$what, then a clean session" 0
    check_completed "$what, then a clean session"
    cases=$((cases + 1))
  done
done <"$scratch/calls"
echo "crash sweep: $total Sync Manager calls in the clean session, $cases crashes"
finish
