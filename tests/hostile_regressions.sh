#!/usr/bin/env bash
# Every hostile-input case that once failed (tests/sweep/hostile_regressions.txt), each alone.
#   hostile_regressions.sh SOURCE_DIR BUILD_DIR
set -u
source_dir=$1 build=$2
failed=0 run=0
while read -r seed index what; do
  case $seed in '#'* | '') continue ;; esac
  run=$((run + 1))
  if ! bash "$source_dir/tests/session_sweep.sh" "$source_dir" "$build" hostile "$seed" $((index + 1)) "$index" >"${TMPDIR:-/tmp}/korvet-regression.$$" 2>&1; then
    failed=$((failed + 1))
    echo "FAILED: SEED=$seed index $index ($what)"
    cat "${TMPDIR:-/tmp}/korvet-regression.$$"
  fi
done <"$source_dir/tests/sweep/hostile_regressions.txt"
rm -f "${TMPDIR:-/tmp}/korvet-regression.$$"
echo "$((run - failed)) passed, $failed failed"
[ "$failed" -eq 0 ]
