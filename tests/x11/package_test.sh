#!/usr/bin/env bash
# The Debian package of the X11 program: built by CPack from this build tree, it holds the
# program where Debian's XScreenSaver looks for display programs and the option file where it
# looks for their settings, nothing else; its dependencies are packages this machine has; it
# installs into a root of the test's own, the installed program runs, and removing it leaves
# no file behind.
# Usage: package_test.sh <build tree> <tellaro.xml of the source tree>
set -euo pipefail
tree=$1 xml=$2
work=$(mktemp -d "$tree/package-test.XXXXXX")
trap 'rm -rf "$work"' EXIT
fail() { echo "package_test: $*" >&2; exit 1; }

cpack -G DEB --config "$tree/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 || { cat "$work/cpack.log"; fail "cpack failed"; }
deb=$(ls "$work"/out/tellaro_*.deb)

files=$(dpkg-deb --contents "$deb" | awk '$1 !~ /^d/ {print $1, $6}' | sort)
expected=$(printf '%s\n' "-rw-r--r-- ./usr/share/xscreensaver/config/tellaro.xml" \
  "-rwxr-xr-x ./usr/libexec/xscreensaver/tellaro" | sort)
[ "$files" = "$expected" ] || fail "the package holds"$'\n'"$files"$'\n'"instead of"$'\n'"$expected"
[ "$(dpkg-deb -f "$deb" Package)" = tellaro ] || fail "package name"

# Every dependency (its first alternative) is a package installed here.
dpkg-deb -f "$deb" Depends | tr ',' '\n' | sed 's/|.*//; s/(.*)//; s/ //g' | while read -r package; do
  [ -z "$package" ] && continue
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
    fail "dependency $package is no installed package"
done

# Install and remove in a root of its own (the dependencies live in the machine's root).
root=$work/root
mkdir -p "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/updates" "$root/var/lib/dpkg/triggers"
touch "$root/var/lib/dpkg/status"
dpkg --root="$root" --log=/dev/null --force-depends -i "$deb" >"$work/install.log" 2>&1 ||
  { cat "$work/install.log"; fail "dpkg -i failed"; }
[ "$(dpkg-query --admindir="$root/var/lib/dpkg" -W -f='${Status}' tellaro)" = "install ok installed" ] ||
  fail "not listed as installed"
cmp "$root/usr/share/xscreensaver/config/tellaro.xml" "$xml" || fail "the installed option file differs"
"$root/usr/libexec/xscreensaver/tellaro" -help | grep -q -- "-window-id ID" || fail "the installed program does not run"

dpkg --root="$root" --log=/dev/null --force-depends -r tellaro >"$work/remove.log" 2>&1 ||
  { cat "$work/remove.log"; fail "dpkg -r failed"; }
[ ! -e "$root/usr" ] || fail "left behind: $(find "$root/usr")"
echo "package_test: $(basename "$deb") installs, runs and removes cleanly"
