#!/usr/bin/env bash
# Builds and runs every test: native (ASan/UBSan), the fuzz targets' seed corpora, and the
# Windows programs' tests under Wine in a private prefix and virtual display.
set -euo pipefail
source "$(dirname "$0")/common.sh"
prepare

cmake -S "$root" -B "$build/native" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTELLARO_SANITIZE=ON >/dev/null
cmake --build "$build/native" -j "$jobs"
CC=clang CXX=clang++ cmake -S "$root" -B "$build/fuzz" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTELLARO_FUZZ=ON -DTELLARO_TESTS=OFF >/dev/null
cmake --build "$build/fuzz" -j "$jobs"
configure_windows
cmake --build "$build/windows" -j "$jobs"

prefix=$(mktemp -d "$build/wine-test.XXXXXX")
cleanup() {
  WINEPREFIX=$prefix wineserver -k 2>/dev/null || true
  [ -n "${xvfb_pid:-}" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$prefix"
}
trap cleanup EXIT
start_private_display
init_wine_prefix "$prefix"

# One CTest run over the three builds, one summary at the end.
cat > "$build/CTestTestfile.cmake" <<CT
subdirs("native" "fuzz" "windows")
CT
ctest --test-dir "$build" --output-on-failure -j "$jobs"
