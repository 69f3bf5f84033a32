#!/usr/bin/env bash
# Runs session_sweep (tests/sweep) in a scratch HotSync installation, then checks with Debian's
# Palm::PDB every handheld file the sessions left.
#   session_sweep.sh SOURCE_DIR BUILD_DIR faults
#   session_sweep.sh SOURCE_DIR BUILD_DIR hostile SEED CASES [ONLY_INDEX]
set -u
source_dir=$1 build=$2
shift 2
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
root=$scratch/root
mkdir -p "$root/hotsync" "$scratch/pdbs"
for file in sync20.dll hslog20.dll CondMgr.dll; do
  cp "$build/hotsync/$file" "$root/hotsync/" || { echo "missing $build/hotsync/$file"; exit 1; }
done
cp "$build/tests/session_sweep.exe" "$root/hotsync/" || { echo "missing $build/tests/session_sweep.exe"; exit 1; }
winpath() { local path=${1//\//\\}; printf 'Z:%s' "$path"; }

mode=$1
shift
started=$(date +%s)
(cd "$scratch" && "$source_dir/scripts/wine-run" --build "$build" "$(winpath "$root/hotsync/session_sweep.exe")" \
  "$mode" "$(winpath "$root")" "$(winpath "$build/korvet/Korv.dll")" "$(winpath "$scratch/pdbs")" "$@")
rc=$?
case $rc in
  0) ;;
  1) echo "FAILED: the $mode sweep found faults (above)" ;;
  4) echo "FAILED: a session crashed (case above)" ;;
  5) echo "FAILED: a session hung (case above)" ;;
  6) echo "FAILED: a check of the checked build trapped (case above)" ;;
  *) echo "FAILED: session_sweep ended with exit code $rc" ;;
esac
perl "$source_dir/tests/sweep/pdb_check.pl" "$scratch/pdbs" || rc=1
echo "$mode sweep took $(( $(date +%s) - started )) s"
exit $rc
