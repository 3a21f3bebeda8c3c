#!/usr/bin/env bash
# The Debian package of the X11 program, built by CPack from this tree: exactly the program and
# its option file where Debian's XScreenSaver looks for them, dependencies this machine has; it
# installs into a root of the test's own, the installed program runs, removal leaves nothing.
# Usage: package_test.sh <build tree> <tellaro.xml of the source tree>
set -euo pipefail
tree=$1 xml=$2 work=$(mktemp -d "$1/package-test.XXXXXX")
trap 'rm -rf "$work"' EXIT
fail() { echo "package_test: $*" >&2; exit 1; }

cpack -G DEB --config "$tree/CPackConfig.cmake" -B "$work/out" >"$work/log" 2>&1 || { cat "$work/log"; fail "cpack"; }
deb=$(ls "$work"/out/tellaro_*.deb)
files=$(dpkg-deb --contents "$deb" | awk '$1 !~ /^d/ { print $1, $6 }' | sort)
[ "$files" = "-rw-r--r-- ./usr/share/xscreensaver/config/tellaro.xml
-rwxr-xr-x ./usr/libexec/xscreensaver/tellaro" ] || fail "the package holds: $files"
for package in $(dpkg-deb -f "$deb" Depends | tr ',' '\n' | sed 's/|.*//; s/(.*)//'); do
  dpkg-query -W -f='${Status}' "$package" | grep -q 'install ok installed' || fail "dependency $package unknown here"
done

root=$work/root
mkdir -p "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/updates" && touch "$root/var/lib/dpkg/status"
dpkg --root="$root" --log=/dev/null --force-depends -i "$deb" >"$work/log" 2>&1 || { cat "$work/log"; fail "dpkg -i"; }
[ "$(dpkg-query --admindir="$root/var/lib/dpkg" -W -f='${Status}' tellaro)" = "install ok installed" ] || fail "status"
cmp "$root/usr/share/xscreensaver/config/tellaro.xml" "$xml" || fail "the installed option file differs"
"$root/usr/libexec/xscreensaver/tellaro" -help | grep -q -- "-window-id ID" || fail "the installed program does not run"
dpkg --root="$root" --log=/dev/null --force-depends -r tellaro >"$work/log" 2>&1 || { cat "$work/log"; fail "dpkg -r"; }
[ ! -e "$root/usr" ] || fail "left behind: $(find "$root/usr")"
echo "package_test: $(basename "$deb") installs, runs and is removed cleanly"
