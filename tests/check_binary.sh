#!/usr/bin/env bash
# Checks a built Windows binary without running it:
#   check_binary.sh OBJDUMP BINARY [--exports "A B C"] [--ordinal-imports DLL "ORDINAL NAME ..."]
# --exports: the binary exports exactly these names.
# --ordinal-imports: functions of DLL with an ordinal are imported by ordinal, never by name.
# Always: no MinGW runtime DLL is needed (the runtime is linked in).
set -u
objdump=$1 binary=$2
shift 2
dump=$("$objdump" -p "$binary") || { echo "cannot read $binary"; exit 1; }
fail=0

if echo "$dump" | grep -qiE 'DLL Name: (libstdc\+\+|libgcc|libwinpthread)'; then
  echo "FAIL: $binary needs a MinGW runtime DLL"; fail=1
fi

while [ $# -gt 0 ]; do
  case "$1" in
    --exports)
      want=$(echo "$2" | tr ' ' '\n' | sort)
      have=$(echo "$dump" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' | tail -n +2 | grep -oE '\] [A-Za-z_][A-Za-z0-9_@]*' | cut -c3- | sort)
      if [ "$want" != "$have" ]; then
        echo "FAIL: exports of $binary are:"; echo "$have"; echo "expected:"; echo "$want"; fail=1
      fi
      shift 2 ;;
    --ordinal-imports)
      dll=$2 pairs=$3
      section=$(echo "$dump" | awk -v dll="$dll" 'tolower($0) ~ "dll name: " tolower(dll) {on=1; next} /DLL Name:/ {on=0} on')
      set -- $pairs "${@:4}"
      while [ $# -gt 0 ] && [[ "$1" =~ ^[0-9]+$ ]]; do
        ordinal=$1 name=$2
        shift 2
        if echo "$section" | grep -qw "$name"; then
          echo "FAIL: $binary imports $name from $dll by name instead of ordinal $ordinal"; fail=1
        fi
      done
      continue ;;
    *) echo "unknown option $1"; exit 2 ;;
  esac
done
[ $fail -eq 0 ] && echo "$binary: ok"
exit $fail
