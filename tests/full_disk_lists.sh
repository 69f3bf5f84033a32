#!/usr/bin/env bash
# The list writers on a full disk: a small file system of its own (tmpfs, as root) for the test
# ListFilesOnAFullDisk of common_test. Where none can be mounted (not root, or no tmpfs), it says
# so and ends with 77, which CTest shows as skipped (SKIP_RETURN_CODE).
#   full_disk_lists.sh SOURCE_DIR BUILD_DIR
set -u
source_dir=$1 build=$2
dir=$(mktemp -d)
if ! mount -t tmpfs -o size=24k tmpfs "$dir" 2>/dev/null; then
  rmdir "$dir"
  echo "skipped: cannot mount a small file system here (needs root)"
  exit 77
fi
out=$(mktemp)
trap 'umount "$dir"; rmdir "$dir"; rm -f "$out"' EXIT
KORVET_FULL_DISK="Z:${dir//\//\\}" "$source_dir/scripts/wine-run" --build "$build" "$build/tests/common_test.exe" \
  --gtest_filter='ListFilesOnAFullDisk.*' >"$out" 2>&1
status=$?
grep -v '^wine:' "$out"
# The test skips itself without the file system: here that would be a failure.
grep -q '\[  PASSED  \] 1 test' "$out" || status=1
exit "$status"
