#!/usr/bin/env bash
# A database written through sync20.dll reads the same with Debian's Palm::PDB, and one written with
# Palm::PDB reads the same through sync20.dll: names, IDs, attributes, categories and data bytes.
# Also: without a chosen installation folder the handheld is the folder Handheld beside sync20.dll,
# and a database left open when the program ends is written back all the same.
#   interop_test.sh WINE_RUN BUILD_DIR INTEROP_EXE SYNC20_DLL PALM_PDB_SCRIPT
set -u
wine_run=$1 build=$2 helper=$3 dll=$4 perl_side=$5
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

# A private copy of the program and the library: the default handheld is beside that sync20.dll.
mkdir -p "$work/three"
cp "$helper" "$dll" "$work/three/"
"$wine_run" --build "$build" "$work/three/$(basename "$helper")" write-open - LeftOpen "$(windows "$work/left.txt")" ||
  { echo "FAILED: the helper could not write through sync20.dll"; exit 1; }
if perl "$perl_side" read "$work/three/Handheld/LeftOpen.pdb" "$work/left-by-perl.txt"; then
  compare "a database left open is written back beside sync20.dll" "$work/left.txt" "$work/left-by-perl.txt"
else
  echo "FAILED: no readable LeftOpen.pdb beside sync20.dll"; failures=$((failures + 1))
fi

# Listings that say nothing would compare equal: both must hold the records.
for listing in "$work/written.txt" "$work/perl-wrote.txt"; do
  [ "$(grep -c '^record ' "$listing")" -ge 6 ] || { echo "FAILED: $listing lists too few records"; failures=$((failures + 1)); }
done
echo "$((3 - failures)) passed, $failures failed"
[ "$failures" -eq 0 ]
