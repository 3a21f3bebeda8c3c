#!/usr/bin/env bash
# Builds the Windows (x86_64 MinGW-w64) static libraries the program links against
# -- zlib with its minizip and libjpeg-turbo -- from Debian's own source packages, into
# <build>/deps/prefix. apt-get source runs against a private source list kept in
# the build tree, so the machine's apt configuration is left alone.
# Usage: build-deps.sh <deps-dir>
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
deps=$(mkdir -p "$1" && cd "$1" && pwd)
prefix=$deps/prefix
stamp=$prefix/.complete-v1
[ -f "$stamp" ] && exit 0

host=x86_64-w64-mingw32
src=$deps/src
apt=$deps/apt
mkdir -p "$src" "$apt/lists/partial" "$apt/cache/archives/partial" "$prefix/include" "$prefix/lib"

cat > "$apt/sources.list" <<SRC
deb-src http://deb.debian.org/debian bookworm main
SRC
aptopts=(-o Dir::Etc::SourceList="$apt/sources.list" -o Dir::Etc::SourceParts=/dev/null
         -o Dir::State::Lists="$apt/lists" -o Dir::Cache="$apt/cache" -o APT::Sandbox::User=root)
apt-get "${aptopts[@]}" update -qq

fetch() { # package=version directory-glob
  ( cd "$src" && ls -d $2 >/dev/null 2>&1 || apt-get "${aptopts[@]}" source -qq "$1" )
}
fetch zlib=1:1.2.13.dfsg-1 'zlib-1.2.13*'
fetch libjpeg-turbo=1:2.1.5-2 'libjpeg-turbo-2.1.5*'

# zlib: the library's sources compiled straight into a static libz.a.
zdir=$(ls -d "$src"/zlib-1.2.13*/ | head -1)
zbuild=$deps/build/zlib
mkdir -p "$zbuild"
for f in adler32 compress crc32 deflate gzclose gzlib gzread gzwrite infback inffast inflate \
         inftrees trees uncompr zutil; do
  $host-gcc -O2 -c "$zdir/$f.c" -o "$zbuild/$f.o"
done
rm -f "$prefix/lib/libz.a"
$host-ar rcs "$prefix/lib/libz.a" "$zbuild"/*.o
cp "$zdir/zlib.h" "$zdir/zconf.h" "$prefix/include/"

# minizip: zlib's own contrib/minizip, the I/O layer and the unzip/zip sides,
# installed as <minizip/unzip.h> like the distributions do.
mdir=${zdir}contrib/minizip
mbuild=$deps/build/minizip
mkdir -p "$mbuild" "$prefix/include/minizip"
for f in ioapi unzip zip; do
  $host-gcc -O2 -DNOCRYPT -DUSE_FILE32API -I"$prefix/include" -c "$mdir/$f.c" -o "$mbuild/$f.o"
done
rm -f "$prefix/lib/libminizip.a"
$host-ar rcs "$prefix/lib/libminizip.a" "$mbuild"/*.o
cp "$mdir"/ioapi.h "$mdir"/unzip.h "$mdir"/zip.h "$prefix/include/minizip/"

# libjpeg-turbo: its own CMake build, static only.
jdir=$(ls -d "$src"/libjpeg-turbo-2.1.5*/ | head -1)
cmake -S "$jdir" -B "$deps/build/libjpeg-turbo" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_INSTALL_PREFIX="$prefix" -DENABLE_SHARED=OFF -DENABLE_STATIC=ON \
  -DWITH_TURBOJPEG=OFF -DWITH_SIMD=ON -DCMAKE_ASM_NASM_COMPILER=nasm -DREQUIRE_SIMD=ON -Wno-dev >/dev/null
cmake --build "$deps/build/libjpeg-turbo" --target install >/dev/null

touch "$stamp"
echo "deps: built into $prefix"
