#!/usr/bin/env bash
# Builds the Windows (x86_64 MinGW-w64) static libraries the program links against
# -- zlib with its minizip and libjpeg-turbo -- from the distribution's own source packages,
# into <deps-dir>/prefix. The source entries are the machine's enabled deb entries turned
# into deb-src ones; they, their lists and apt's cache live in <deps-dir>/apt, so the
# machine's apt configuration is left alone. The newest versions the suites offer now are
# built (the next older one offered when a version's files cannot be fetched).
# The completion stamp is named by a hash of this script, the toolchain file and those
# versions, so a change to any of them rebuilds the prefix from scratch.
# Usage: build-deps.sh <deps-dir>
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
deps=$(mkdir -p "$1" && cd "$1" && pwd)
prefix=$deps/prefix
src=$deps/src
apt=$deps/apt
host=x86_64-w64-mingw32
packages=(zlib libjpeg-turbo)

die() { echo "build-deps: $*" >&2; exit 1; }

# One-line entries ("deb [options] uri suite [component...]") as deb-src entries.
one_line_sources() {
  sed -n -e 's/#.*//' -e 's/[[:space:]]*$//' -e 's/^[[:space:]]*deb\(-src\)\{0,1\}[[:space:]]\{1,\}/deb-src /p' "$1" | sort -u
}

# deb822 stanzas whose Types hold deb (or deb-src) and that are not disabled, as deb-src
# stanzas; every other field (URIs, Suites, Components, Signed-By with an inline key, ...)
# is kept as it stands.
deb822_sources() {
  awk '
    function types(v,   w, k) { split(v, w, /[ \t]+/); for (k in w) if (w[k] == "deb" || w[k] == "deb-src") keep = 1 }
    function flush(   i) {
      if (n && keep && enabled) {
        if (printed) print ""
        print "Types: deb-src"
        for (i = 1; i <= n; i++) print body[i]
        printed = 1
      }
      n = 0; keep = 0; enabled = 1; field = ""
    }
    BEGIN { enabled = 1 }
    /^[ \t]*$/ { flush(); next }
    /^#/ { next }
    /^[ \t]/ {
      if (field == "types") types($0)
      else if (field != "enabled") body[++n] = $0
      next
    }
    {
      colon = index($0, ":")
      field = tolower(substr($0, 1, colon - 1))
      value = tolower(substr($0, colon + 1))
      if (field == "types") types(value)
      else if (field == "enabled") { if (value ~ /^[ \t]*(no|false|off|without|disable)[ \t]*$/) enabled = 0 }
      else body[++n] = $0
    }
    END { flush() }
  ' "$1"
}

# The private source list, made afresh from the machine's files on every run.
eval "$(apt-config shell machine_list Dir::Etc::SourceList/f machine_parts Dir::Etc::SourceParts/d)"
rm -rf "$apt/sources.list.d"
mkdir -p "$apt/sources.list.d" "$apt/lists/partial" "$apt/cache/archives/partial"
: > "$apt/sources.list"
[ -f "${machine_list:-}" ] && one_line_sources "$machine_list" > "$apt/sources.list"
for f in "${machine_parts:-/nonexistent}"/*.list "${machine_parts:-/nonexistent}"/*.sources; do
  [ -f "$f" ] || continue
  out=$apt/sources.list.d/$(basename "$f")
  case $f in
    *.list) one_line_sources "$f" > "$out" ;;
    *.sources) deb822_sources "$f" > "$out" ;;
  esac
  [ -s "$out" ] || rm -f "$out"
done
grep -qs . "$apt/sources.list" "$apt"/sources.list.d/* ||
  die "no enabled deb entries in $machine_list or ${machine_parts}*.list / *.sources"

aptopts=(-o Dir::Etc::SourceList="$apt/sources.list" -o Dir::Etc::SourceParts="$apt/sources.list.d"
         -o Dir::State::Lists="$apt/lists" -o Dir::Cache="$apt/cache" -o APT::Sandbox::User=root)
if ! apt-get "${aptopts[@]}" update -qq; then
  echo "build-deps: the source lists could not be refreshed; using those fetched before" >&2
fi

# The versions of a source package the suites offer, newest first.
offered_versions() {
  local v i j t vs=()
  while read -r v; do vs+=("$v"); done < <(apt-cache "${aptopts[@]}" showsrc "$1" 2>/dev/null |
    awk -v p="$1" '/^Package: / { name = $2 } /^Version: / && name == p { print $2 }' | sort -u)
  for ((i = 1; i < ${#vs[@]}; i++)); do
    for ((j = i; j > 0; j--)); do
      dpkg --compare-versions "${vs[j]}" gt "${vs[j-1]}" || break
      t=${vs[j]}; vs[j]=${vs[j-1]}; vs[j-1]=$t
    done
  done
  [ ${#vs[@]} -eq 0 ] || printf '%s\n' "${vs[@]}"
}
declare -A versions
offered=""
for p in "${packages[@]}"; do
  versions[$p]=$(offered_versions "$p")
  [ -n "${versions[$p]}" ] || die "no source package $p in the suites of the machine's apt entries"
  offered+="$p $(echo ${versions[$p]})"$'\n'
done

key=$({ cat "$0" "$root/cmake/mingw-w64-x86_64.cmake"; printf '%s' "$offered"; } | sha256sum | cut -c1-16)
stamp=$prefix/.complete-$key
[ -f "$stamp" ] && exit 0

# Each package is unpacked into src/<package>/<version>/ and the other versions are removed,
# so an older tree can never be taken for the current one. The newest version offered is
# taken; when its files cannot be fetched, the next older one offered is, with a warning.
find "$src" -mindepth 1 -maxdepth 1 $(printf -- '! -name %s ' "${packages[@]}") -exec rm -rf {} + 2>/dev/null || true
built=""
fetch() { # package -> sets tree to the unpacked source tree
  local v dir trees
  mkdir -p "$src/$1"
  tree=""
  for v in ${versions[$1]}; do
    dir=$src/$1/${v//:/_}
    if [ ! -f "$dir/.unpacked" ]; then
      rm -rf "$dir"; mkdir -p "$dir"
      if ! ( cd "$dir" && apt-get "${aptopts[@]}" source -qq --only-source "$1=$v" >/dev/null ); then
        echo "build-deps: warning: could not fetch $1 $v; trying an older version offered" >&2
        rm -rf "$dir"; continue
      fi
      touch "$dir/.unpacked"
    fi
    trees=("$dir/$1"-*/)
    [ ${#trees[@]} -eq 1 ] && [ -d "${trees[0]}" ] || die "expected one unpacked tree $dir/$1-*/"
    tree=${trees[0]%/}
    find "$src/$1" -mindepth 1 -maxdepth 1 ! -path "$dir" -exec rm -rf {} +
    built+="$1 $v"$'\n'
    return
  done
  die "none of the versions of $1 offered could be fetched"
}
need() { # tree file...
  local t=$1 f; shift
  for f; do [ -f "$t/$f" ] || die "$t has no $f: the source layout has changed"; done
}

fetch zlib; zdir=$tree
mdir=$zdir/contrib/minizip
need "$zdir" zlib.h zconf.h
need "$mdir" ioapi.c unzip.c zip.c ioapi.h unzip.h zip.h
fetch libjpeg-turbo; jdir=$tree
need "$jdir" CMakeLists.txt

rm -rf "$prefix" "$deps/build"
mkdir -p "$prefix/include/minizip" "$prefix/lib"

# zlib: the library's sources (every C file at the top of its tree) compiled into a static libz.a.
zbuild=$deps/build/zlib
mkdir -p "$zbuild"
for f in "$zdir"/*.c; do
  $host-gcc -O2 -c "$f" -o "$zbuild/$(basename "${f%.c}").o"
done
$host-ar rcs "$prefix/lib/libz.a" "$zbuild"/*.o
cp "$zdir/zlib.h" "$zdir/zconf.h" "$prefix/include/"

# minizip: zlib's own contrib/minizip, the I/O layer and the unzip/zip sides, installed as
# <minizip/unzip.h> like the distributions do, with the local headers those include.
mbuild=$deps/build/minizip
mkdir -p "$mbuild"
for f in ioapi unzip zip; do
  $host-gcc -O2 -DNOCRYPT -DUSE_FILE32API -I"$prefix/include" -c "$mdir/$f.c" -o "$mbuild/$f.o"
done
$host-ar rcs "$prefix/lib/libminizip.a" "$mbuild"/*.o
for h in ioapi.h unzip.h zip.h \
         $(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' "$mdir"/{ioapi,unzip,zip}.h); do
  if [ -f "$mdir/$h" ]; then cp "$mdir/$h" "$prefix/include/minizip/"; fi
done

# libjpeg-turbo: its own CMake build, static only.
cmake -S "$jdir" -B "$deps/build/libjpeg-turbo" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_INSTALL_PREFIX="$prefix" -DENABLE_SHARED=OFF -DENABLE_STATIC=ON \
  -DWITH_TURBOJPEG=OFF -DWITH_SIMD=ON -DCMAKE_ASM_NASM_COMPILER=nasm -DREQUIRE_SIMD=ON -Wno-dev >/dev/null
cmake --build "$deps/build/libjpeg-turbo" --target install >/dev/null
for f in lib/libz.a lib/libminizip.a lib/libjpeg.a include/jpeglib.h include/minizip/unzip.h; do
  [ -f "$prefix/$f" ] || die "$prefix/$f was not installed"
done

printf 'offered:\n%sbuilt:\n%s' "$offered" "$built" > "$stamp"
echo "deps: built $(printf '%s' "$built" | paste -sd, | sed 's/,/, /g') into $prefix"
