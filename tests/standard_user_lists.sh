#!/usr/bin/env bash
# The list writers as a standard user: the HotSync folder under Program Files takes no new file from
# such a user, but the installer made the two list files writable for the Users group. Here, as
# "nobody", in a folder owned by root that nobody may write, with list files that anybody may write:
# the test StandardUserLists of common_test saves every list, which must be written in place, and
# the files must afterwards still be root's, with their mode. Not root, or no setpriv: skipped (77).
#   standard_user_lists.sh SOURCE_DIR BUILD_DIR
set -u
source_dir=$1 build=$2
if [ "$(id -u)" -ne 0 ] || ! command -v setpriv >/dev/null || ! id nobody >/dev/null 2>&1; then
  echo "skipped: needs root, setpriv and the user nobody"
  exit 77
fi
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
chmod 755 "$scratch"
core=$scratch/HotSync
home=$scratch/home
mkdir -p "$core" "$home"
chmod 755 "$core"
for list in Xembrafilepath.dat Cardoon.dat; do
  : >"$core/$list"
  chmod 666 "$core/$list"
done
printf 'C:\\D\\,a.qzl*@$' >"$core/Xembrafilepath.dat"
printf 'C:\\Reports\\@$#' >"$core/Cardoon.dat"
chown nobody:nogroup "$home"

arch=$(cat "$build/wine-arch" 2>/dev/null || echo win32)
loader=/usr/lib/wine/wine
[ "$arch" = win64 ] && loader=/usr/lib/wine/wine64
[ -x "$loader" ] || loader=$(command -v wine)
out=$scratch/out
# The user's own Wine prefix: Wine runs no prefix that another user owns.
setpriv --reuid=nobody --regid=nogroup --clear-groups \
  env -i PATH=/usr/bin:/bin HOME="$home" WINEPREFIX="$home/prefix" WINEARCH="$arch" WINEDEBUG=-all \
  WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d" KORVET_STANDARD_USER_FOLDER="Z:${core//\//\\}" \
  "$loader" "$build/tests/common_test.exe" --gtest_filter='StandardUserLists.*' >"$out" 2>&1
status=$?
setpriv --reuid=nobody --regid=nogroup --clear-groups env HOME="$home" WINEPREFIX="$home/prefix" wineserver -k 2>/dev/null
grep -v '^wine:' "$out"
grep -q '\[  PASSED  \] 1 test' "$out" || status=1
for list in Xembrafilepath.dat Cardoon.dat; do
  owner=$(stat -c '%U %a' "$core/$list")
  if [ "$owner" != "root 666" ]; then
    echo "FAILED: $list is now \"$owner\", not \"root 666\": it was replaced, not written in place"
    status=1
  fi
done
exit $status
