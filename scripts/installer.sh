#!/usr/bin/env bash
# Builds the Windows installer: the Release programs with the tests off, in a build tree of
# its own (build/installer), packed by makensis into build/installer/installer/tellaro-setup.exe.
set -euo pipefail
source "$(dirname "$0")/common.sh"
prepare
cmake -S "$root" -B "$build/installer" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" -DCMAKE_PREFIX_PATH="$build/deps/prefix" \
  -DTELLARO_TESTS=OFF >/dev/null
cmake --build "$build/installer" -j "$jobs" --target installer
echo "installer: $build/installer/installer/tellaro-setup.exe"
