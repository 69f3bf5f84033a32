#!/bin/sh
# Checks the export table of sync20.dll against the conduit's binding: every operation of
# sync20_import.def is exported by name, at the ordinal given there, and so are the control operations.
#   check_exports.sh OBJDUMP DLL IMPORT_DEF
set -u
objdump=$1 dll=$2 def=$3
table=$(mktemp) || exit 1
trap 'rm -f "$table"' EXIT

# "name ordinal" per export. Older objdump prints indexes relative to the ordinal base in the name
# table, newer ones print the ordinals and say so in the table's heading.
"$objdump" -p "$dll" | awk '
  /^Export Address Table -- Ordinal Base/ { base = $NF }
  /^\[Ordinal\/Name Pointer\] Table/ { names = 1; biased = ($0 ~ /Ordinal Base/); next }
  names && /^[ \t]*\[ *[0-9]+\] / {
    line = $0; sub(/^[ \t]*\[ */, "", line); n = line + 0; sub(/^[0-9]+\] /, "", line)
    print line, (biased ? n : n + base); next
  }
  names && /^[ \t]*$/ { names = 0 }
' > "$table"

if [ ! -s "$table" ]; then
  echo "no export table found in $dll"
  exit 1
fi

failures=0
check() {  # name [ordinal]
  found=$(awk -v n="$1" '$1 == n { print $2 }' "$table")
  if [ -z "$found" ]; then
    echo "missing export: $1"; failures=$((failures + 1))
  elif [ -n "${2:-}" ] && [ "$found" != "$2" ]; then
    echo "$1 is at ordinal $found, the conduit binds it at $2"; failures=$((failures + 1))
  else
    echo "ok: $1${2:+ @$2}"
  fi
}

operations=0
while read -r name rest; do
  case "$name" in ''|';'*|LIBRARY|EXPORTS) continue ;; esac
  ordinal=$(echo "$rest" | sed -n 's/^@\([0-9]*\).*/\1/p')
  check "$name" "$ordinal"
  operations=$((operations + 1))
done < "$def"
for name in SimSetInstallDirectory SimEndSession SimFailOperation SimClearFailures SimCallCount \
            SimResetCallCounts; do
  check "$name"
done

if [ "$operations" -lt 27 ]; then
  echo "only $operations operations read from $def"; failures=$((failures + 1))
fi
echo "$failures export failures"
[ "$failures" -eq 0 ]
