#!/bin/sh
# Checks that a stand-in DLL exports each named function, at the given ordinal where one is given.
#   check_exports.sh OBJDUMP DLL [--def MODULE_DEF] NAME[@ORDINAL]...
# --def adds every function of a module-definition file with its ordinal (how a caller binds them).
set -u
objdump=$1 dll=$2
shift 2
if [ "${1:-}" = "--def" ]; then
  def=$2
  shift 2
  from_def=$(sed -n 's/^[ \t]*\([A-Za-z_][A-Za-z0-9_]*\)[ \t]*\(@\([0-9]*\)\)\{0,1\}.*/\1@\3/p' "$def" | grep -v -E '^(LIBRARY|EXPORTS)@' | sed 's/@$//')
  [ -n "$from_def" ] || { echo "no functions read from $def"; exit 1; }
  set -- $from_def "$@"
fi
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
' >"$table"

if [ ! -s "$table" ]; then
  echo "no export table found in $dll"
  exit 1
fi

failures=0
for wanted in "$@"; do
  name=${wanted%@*}
  ordinal=
  [ "$name" != "$wanted" ] && ordinal=${wanted#*@}
  found=$(awk -v n="$name" '$1 == n { print $2 }' "$table")
  if [ -z "$found" ]; then
    echo "missing export: $name"; failures=$((failures + 1))
  elif [ -n "$ordinal" ] && [ "$found" != "$ordinal" ]; then
    echo "$name is at ordinal $found, expected $ordinal"; failures=$((failures + 1))
  else
    echo "ok: $wanted"
  fi
done
echo "$failures export failures"
[ "$failures" -eq 0 ]
