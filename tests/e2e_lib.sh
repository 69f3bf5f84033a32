# Shared by the end-to-end tests: a scratch copy of the stand-in HotSync installation, synchost runs,
# and byte-for-byte comparisons. Source it after setting source_dir and build.
# `printf ... | expect ...` must count in this shell, not in a pipeline's subshell.
shopt -s lastpipe
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
install=$scratch/hotsync
mkdir -p "$install"
cp -r "$build/hotsync/." "$install/" || { echo "missing $build/hotsync"; exit 1; }
# A hand-made session may have left its registrations, actions and list files in build/hotsync.
rm -f "$install/HotSync.log" "$install/Conduits.txt" "$install/Actions.txt" "$install/Xembrafilepath.dat" "$install/Cardoon.dat"
rm -rf "$install/Handheld" && mkdir -p "$install/Handheld"
passed=0 failed=0

winpath() { local path=${1//\//\\}; printf 'Z:%s' "$path"; }
win_install=$(winpath "$install")

# run ARGS...: synchost of the scratch installation; output in $scratch/out and err, exit code in rc.
run() {
  (cd "$scratch" && "$source_dir/scripts/wine-run" --build "$build" "$win_install\\synchost.exe" "$@") \
    >"$scratch/out" 2>"$scratch/err"
  rc=$?
}
# The texts of the HotSync log's lines (time and activity cut off).
log_texts() { cut -f3- "$install/HotSync.log" | tr -d '\r'; }
# expect NAME FILE: the file equals standard input byte for byte. Standard input carries what is
# wanted, so what a command printed goes to a file first (never /dev/stdin, which is the wanted text).
expect() {
  if [ "$2" = /dev/stdin ]; then echo "expect $1: compare a file, not standard input"; exit 2; fi
  local want; want=$(mktemp -p "$scratch")
  cat >"$want"
  if [ -f "$2" ] && cmp -s "$2" "$want"; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "FAILED: $1"
    if [ -f "$2" ]; then diff <(cat -A "$want") <(cat -A "$2") | head -40; else echo "  no file $2"; fi
  fi
}
expect_rc() {
  if [ "$rc" = "$2" ]; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAILED: $1: exit code $rc, expected $2"; cat "$scratch/out" "$scratch/err"; fi
}
# report_file FOLDER NAME: where the conduit saves report NAME under report folder FOLDER, in FOLDER's
# form (a Windows folder gets backslashes).
report_file() {
  if [[ $1 == *\\* ]]; then printf '%s\\%s.csv' "$1" "$2"; else printf '%s/%s.csv' "$1" "$2"; fi
}
# saved_reports FOLDER: every file and empty folder under FOLDER, sorted, a report's file given as the
# report's name.
saved_reports() {
  (cd "$1" && find . -mindepth 1 \( -type f -o -type d -empty \) | sed -e 's|^\./||' -e 's|\.csv$||' | LC_ALL=C sort)
}
# Korv.dll registered as the installer registers it.
register_korvet() {
  run register KRVT "$(winpath "$build/korvet/Korv.dll")" --remote KORVETDatabaseDB --file dummy.qzl --title Korvet --priority 2
  expect_rc "register" 0
}
# The closing line CTest and CI read.
finish() {
  echo "$passed passed, $failed failed"
  [ "$failed" -eq 0 ]
}
