#!/usr/bin/env bash
# Builds and runs every test: native (ASan/UBSan), the fuzz targets' seed corpora, and the
# Windows programs' tests under Wine in a private prefix and virtual display.
set -euo pipefail
source "$(dirname "$0")/common.sh"
prepare

# Tests are switched on explicitly: run.sh configures the same Windows tree with them off.
cmake -S "$root" -B "$build/native" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTELLARO_SANITIZE=ON \
  -DTELLARO_TESTS=ON >/dev/null
cmake --build "$build/native" -j "$jobs"
CC=clang CXX=clang++ cmake -S "$root" -B "$build/fuzz" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTELLARO_FUZZ=ON -DTELLARO_TESTS=OFF >/dev/null
cmake --build "$build/fuzz" -j "$jobs"
configure_windows -DTELLARO_TESTS=ON
cmake --build "$build/windows" -j "$jobs"

# Each tree must hold tests; one that holds none would otherwise pass unnoticed.
for tree in native fuzz windows; do
  count=$(ctest --test-dir "$build/$tree" -N | sed -n 's/^Total Tests: *//p')
  if [ "${count:-0}" -eq 0 ]; then
    echo "test.sh: error: $build/$tree holds no tests (ctest -N lists none); its configuration leaves them out" >&2
    exit 1
  fi
done

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
