#!/usr/bin/env bash
# Checks what a Windows user gets, without running anything:
#   check_dist.sh OBJDUMP DIST_ROOT
# DIST_ROOT/Korvet holds exactly the seven deliverables and README.txt (CR LF line ends), and
# DIST_ROOT/Korvet.zip holds that folder. Every binary is 32-bit and imports nothing but Windows'
# own libraries; Korv.dll also the two HotSync libraries, which HotSync Manager brings. None carries
# debug sections.
set -u
objdump=$1 root=$2
dir=$root/Korvet
fail=0
bad() { echo "FAIL: $*"; fail=1; }

want="Attachor.exe Cardoon.dll Detachor.exe Korv.dll README.txt Setpanel.exe Setpanelrun.exe Xembrafilepath.dll"
have=$(cd "$dir" 2>/dev/null && ls -A | sort | tr '\n' ' ' | sed 's/ $//')
[ "$have" = "$want" ] || bad "$dir holds '$have', expected '$want'"

windows_dlls="kernel32.dll user32.dll gdi32.dll comctl32.dll comdlg32.dll shell32.dll ole32.dll advapi32.dll msvcrt.dll"
for file in Attachor.exe Cardoon.dll Detachor.exe Korv.dll Setpanel.exe Setpanelrun.exe Xembrafilepath.dll; do
  path=$dir/$file
  [ -f "$path" ] || continue
  "$objdump" -f "$path" | grep -q 'file format pei-i386' || bad "$file is not a 32-bit Windows binary"
  # Shipped without debug sections (the runtime linked in brings its own otherwise).
  "$objdump" -h "$path" | grep -q ' \.debug' && bad "$file carries debug sections"
  allowed=$windows_dlls
  [ "$file" = Korv.dll ] && allowed="$allowed sync20.dll hslog20.dll"
  for dll in $("$objdump" -p "$path" | awk '/DLL Name:/ {print tolower($3)}'); do
    case " $allowed " in *" $dll "*) ;; *) bad "$file imports $dll" ;; esac
  done
done

readme=$dir/README.txt
if [ -s "$readme" ]; then
  # Every line ends in CR LF, the last one too.
  cmp -s "$readme" <(sed 's/\r$//' "$readme" | sed 's/$/\r/') && [ "$(tail -c 1 "$readme" | od -An -c | tr -d ' ')" = '\n' ] &&
    [ "$(tr -cd '\r' <"$readme" | wc -c)" = "$(tr -cd '\n' <"$readme" | wc -c)" ] ||
    bad "README.txt does not end every line with CR LF"
else
  bad "no README.txt"
fi

zipped=$(cd "$root" && cmake -E tar tf Korvet.zip 2>/dev/null | sed -n 's|^Korvet/\(..*\)$|\1|p' | sort | tr '\n' ' ' | sed 's/ $//')
[ "$zipped" = "$want" ] || bad "Korvet.zip holds '$zipped', expected '$want'"

[ $fail -eq 0 ] && echo "$dir: ok"
exit $fail
