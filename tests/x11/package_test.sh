#!/usr/bin/env bash
# The Debian package of the X11 program as a user builds it (a Release tree of the test's own,
# packed by CPack): the program, its option file, manual page and documents where Debian and
# its XScreenSaver look for them; Depends names the package of every library the program
# links; lintian finds no error and no warning; the manual page lists exactly the options
# -help lists; the copyright is machine-readable and names existing data files; the
# changelog's last entry is this version. It installs into a root of the test's own, the
# installed program runs, removal leaves nothing.
# Usage: package_test.sh <build tree> <source tree>
set -euo pipefail
source=$2 release=$1/package-release work=$(mktemp -d "$1/package-test.XXXXXX")
trap 'rm -rf "$work"' EXIT
fail() { echo "package_test: $*" >&2; exit 1; }
run() { "$@" >"$work/log" 2>&1 || { cat "$work/log"; fail "$*"; }; }

run cmake -S "$source" -B "$release" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTELLARO_TESTS=OFF
run cmake --build "$release"
run cpack -G DEB --config "$release/CPackConfig.cmake" -B "$work/out"
deb=$(ls "$work"/out/tellaro_*.deb)
files=$(dpkg-deb --contents "$deb" | awk '$1 !~ /^d/ { print $1, $6 }' | sort -k2)
[ "$files" = "-rwxr-xr-x ./usr/libexec/xscreensaver/tellaro
-rw-r--r-- ./usr/share/doc/tellaro/changelog.gz
-rw-r--r-- ./usr/share/doc/tellaro/copyright
-rw-r--r-- ./usr/share/lintian/overrides/tellaro
-rw-r--r-- ./usr/share/man/man6/tellaro.6.gz
-rw-r--r-- ./usr/share/xscreensaver/config/tellaro.xml" ] || fail "the package holds: $files"
lintian --fail-on error,warning "$deb" >"$work/lintian" 2>&1 ||
  { cat "$work/lintian"; fail "lintian"; }

root=$work/root
mkdir -p "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/updates" && touch "$root/var/lib/dpkg/status"
run dpkg --root="$root" --log=/dev/null --force-depends -i "$deb"
[ "$(dpkg-query --admindir="$root/var/lib/dpkg" -W -f='${Status}' tellaro)" = "install ok installed" ] || fail "status"
program=$root/usr/libexec/xscreensaver/tellaro
cmp "$root/usr/share/xscreensaver/config/tellaro.xml" "$source/x11/tellaro.xml" || fail "the installed option file differs"
"$program" -help >"$work/help" || fail "the installed program does not run"

# Depends: the package of each library the program links, and of each group of
# alternatives one that is installed here.
owner() { # the package that holds a library's file, under either spelling of a merged /usr
  local path
  for path in "$1" "$(realpath "$1")" "${1#/usr}" "/usr${1#/usr}"; do
    dpkg -S "$path" 2>/dev/null | head -1 | cut -d: -f1 | grep . && return
  done
  fail "no package holds $1"
}
control=$(dpkg-deb -f "$deb" Depends)
named=$(tr ',|' '\n\n' <<<"$control" | sed 's/(.*)//; s/ //g')
for soname in $(readelf -d "$program" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p'); do
  package=$(owner "$(ldd "$program" | awk -v so="$soname" '$1 == so { print $3 }')")
  grep -qx "$package" <<<"$named" || fail "$soname comes from $package, which Depends does not name: $control"
done
while read -r group; do
  for package in $(tr '|' ' ' <<<"${group//(*)/}") ''; do
    [ -n "$package" ] || fail "none of \"$group\" is installed here"
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' && break
  done
done < <(tr ',' '\n' <<<"$control")

# The manual page's options (each .TP or .TQ item) against -help's.
listed=$(sed -n 's/^  \(-[a-z-]*\)\(, \(-[a-z-]*\)\)\{0,1\}.*/\1 \3/p' "$work/help" | tr ' ' '\n' | sed '/^$/d' | sort)
zcat "$root/usr/share/man/man6/tellaro.6.gz" >"$work/tellaro.6"
documented=$(awk '/^\.SH/ { options = ($2 == "OPTIONS") } options && item { print $2 } { item = /^\.T[PQ]/ }' \
               "$work/tellaro.6" | sed 's/\\-/-/g' | sort)
[ -n "$listed" ] && [ "$listed" = "$documented" ] || fail "-help lists: $(echo $listed); the manual page: $(echo $documented)"
man --warnings -l "$work/tellaro.6" 2>&1 >/dev/null | grep . && fail "the manual page has errors"

# The copyright's paragraphs: the format's header, then Files paragraphs whose patterns name
# files of the data folder and whose licences are written out in the paragraph or by name.
python3 - "$root/usr/share/doc/tellaro/copyright" "$source" <<'PY' || fail "the copyright file"
import glob, re, sys
text, source = open(sys.argv[1]).read(), sys.argv[2]
paragraphs = [dict(re.findall(r"^([\w-]+):[ \t]*(.*(?:\n[ \t].*)*)", p, re.M)) for p in text.strip().split("\n\n")]
assert paragraphs[0].get("Format") == "https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/"
texts = {p["License"].split("\n")[0] for p in paragraphs if "License" in p and "\n" in p["License"]}
files = [p for p in paragraphs if "Files" in p]
assert files and files[0]["Files"] == "*", "the first Files paragraph covers everything"
for p in files:
    assert p.get("Copyright") and p.get("License"), p["Files"]
    for pattern in p["Files"].split()[1 if p["Files"] == "*" else 0:]:
        assert glob.glob(f"{source}/{pattern}"), f"{pattern} names no file"
    for name in re.split(r" and | or ", p["License"].split("\n")[0]):
        assert name in texts, f"licence {name} of {p['Files']} is not written out"
PY

version=$(dpkg-deb -f "$deb" Version)
zcat "$root/usr/share/doc/tellaro/changelog.gz" >"$work/changelog"
[ "$(dpkg-parsechangelog -l "$work/changelog" -S Version)" = "$version" ] || fail "the changelog's last entry is not $version"

run dpkg --root="$root" --log=/dev/null --force-depends -r tellaro
[ ! -e "$root/usr" ] || fail "left behind: $(find "$root/usr")"
echo "package_test: $(basename "$deb") is lintian clean, documented, installs, runs and is removed cleanly"
