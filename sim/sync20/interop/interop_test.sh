#!/usr/bin/env bash
# A database written through sync20.dll reads the same with Debian's Palm::PDB, and one written with
# Palm::PDB reads the same through sync20.dll: names, IDs, attributes, categories and data bytes.
#   interop_test.sh WINE_RUN BUILD_DIR INTEROP_EXE PALM_PDB_SCRIPT
set -u
wine_run=$1 build=$2 helper=$3 perl_side=$4
work=$(mktemp -d) || exit 1
trap 'rm -rf "$work"' EXIT
windows() { local p=$1; echo "Z:${p//\//\\}"; }
failures=0

compare() {  # what expected actual
  if diff -u "$2" "$3"; then
    echo "ok: $1"
  else
    echo "FAILED: $1"; failures=$((failures + 1))
  fi
}

# sync20.dll writes, Palm::PDB reads.
"$wine_run" --build "$build" "$helper" write "$(windows "$work/one")" InteropDB "$(windows "$work/written.txt")" ||
  { echo "FAILED: the helper could not write through sync20.dll"; exit 1; }
perl "$perl_side" read "$work/one/Handheld/InteropDB.pdb" "$work/read-by-perl.txt" ||
  { echo "FAILED: Palm::PDB could not read the file"; exit 1; }
compare "Palm::PDB reads what sync20.dll wrote" "$work/written.txt" "$work/read-by-perl.txt"

# Palm::PDB writes, sync20.dll reads.
mkdir -p "$work/two/Handheld"
perl "$perl_side" write "$work/two/Handheld/PerlDB.pdb" "$work/perl-wrote.txt" 2>"$work/perl.err" ||
  { cat "$work/perl.err"; echo "FAILED: Palm::PDB could not write"; exit 1; }
"$wine_run" --build "$build" "$helper" read "$(windows "$work/two")" PerlDB "$(windows "$work/read-by-sync20.txt")" ||
  { echo "FAILED: the helper could not read through sync20.dll"; exit 1; }
compare "sync20.dll reads what Palm::PDB wrote" "$work/perl-wrote.txt" "$work/read-by-sync20.txt"

# Listings that say nothing would compare equal: both must hold the records.
for listing in "$work/written.txt" "$work/perl-wrote.txt"; do
  [ "$(grep -c '^record ' "$listing")" -ge 6 ] || { echo "FAILED: $listing lists too few records"; failures=$((failures + 1)); }
done
echo "$((2 - failures)) passed, $failures failed"
[ "$failures" -eq 0 ]
