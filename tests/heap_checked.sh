#!/usr/bin/env bash
# Runs one program of the checked build under Wine's own heap validation: GlobalFlag 0xb0 (tail and
# free checks, parameter checks) is set for the program in a Wine prefix of its own
# (CHECKED_BUILD/heapprefix, so that the checked build's other runs stay fast), and Wine's heap
# errors are let through. A heap overflow or a write after free then shows at the next heap call.
#   heap_checked.sh SOURCE_DIR CHECKED_BUILD [--planted] PROGRAM.exe [ARGS...]
# Fails on a non-zero exit or on any "err:heap" line, printing the first. With --planted, the
# program holds a planted heap fault: it passes only when the check caught it.
set -u
source_dir=$1 build=$2
shift 2
planted=no
if [ "${1:-}" = --planted ]; then
  planted=yes
  shift
fi
program=$1
shift
export KORVET_WINEPREFIX=$build/heapprefix
export KORVET_WINEDEBUG=-all,err+heap
run() { "$source_dir/scripts/wine-run" --build "$build" "$@"; }
run reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\Image File Execution Options\'"$program" \
  /v GlobalFlag /t REG_DWORD /d 0xb0 /f >/dev/null 2>&1
out=$(mktemp)
trap 'rm -f "$out"' EXIT
started=$(date +%s)
run "$build/tests/$program" "$@" >"$out" 2>&1
rc=$?
first=$(grep -m1 'err:heap' "$out")
if [ $planted = yes ]; then
  if [ -n "$first" ]; then
    echo "caught: $first"
    exit 0
  fi
  tail -5 "$out"
  echo "FAILED: the planted heap fault ran through the heap check (exit code $rc)"
  exit 1
fi
grep -v 'err:heap' "$out" | tail -3
echo "$program under the heap check: exit code $rc in $(( $(date +%s) - started )) s"
if [ -n "$first" ]; then
  echo "FAILED: $first"
  exit 1
fi
exit $rc
