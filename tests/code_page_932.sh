#!/usr/bin/env bash
# The tests that need a double-byte desktop code page, under code page 932: Wine takes the ANSI code
# page from the locale, so a Japanese locale is built into a scratch folder (no system change) and
# each test program runs its "DoubleByte" tests there. They skip themselves in any other run.
#   code_page_932.sh SOURCE_DIR BUILD_DIR
set -u
source_dir=$1 build=$2
locales=$(mktemp -d)
out=$(mktemp)
trap 'rm -rf "$locales" "$out"' EXIT
if ! localedef -i ja_JP -f UTF-8 "$locales/ja_JP.UTF-8" >"$out" 2>&1; then
  cat "$out"
  echo "FAILED: cannot build the ja_JP.UTF-8 locale (scripts/setup installs the locales package)"
  exit 1
fi
status=0
for program in common_test korv_sync_test korv_entry_test; do
  LOCPATH=$locales LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8 KORVET_EXPECT_ACP=932 \
    "$source_dir/scripts/wine-run" --build "$build" "$build/tests/$program.exe" --gtest_filter='*DoubleByte*' \
    >"$out" 2>&1
  rc=$?
  grep -v '^wine:' "$out"
  # A run that found no test, or skipped one, proves nothing.
  if [ $rc -ne 0 ] || ! grep -q '\[  PASSED  \]' "$out" || grep -q '\[  SKIPPED \]' "$out"; then
    echo "FAILED: $program under code page 932"
    status=1
  fi
done
exit $status
