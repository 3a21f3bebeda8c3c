# Shared by the Windows benchmarks: sourced after scripts/common.sh.

# Builds `targets` in a Windows tree of its own, so that the benchmark switch stays out of
# the test build's cache.
build_windows_bench() {
  cmake -S "$root" -B "$build/windows-bench" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTELLARO_BENCH=ON \
    -DTELLARO_TESTS=OFF -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_PREFIX_PATH="$build/deps/prefix" >/dev/null
  cmake --build "$build/windows-bench" -j "$jobs" --target "$@" >/dev/null
}

# A folder, a private display and a Wine prefix for one benchmark run, all removed at exit;
# `work` names the folder. Usage: open_bench_sandbox <name> [display size, as start_private_display]
open_bench_sandbox() {
  work=$(mktemp -d "$build/$1.XXXXXX")
  trap 'WINEPREFIX=$work/prefix wineserver -k 2>/dev/null || true; [ -n "${xvfb_pid:-}" ] && kill "$xvfb_pid" 2>/dev/null || true; rm -rf "$work"' EXIT
  start_private_display "${2:-}"
  init_wine_prefix "$work/prefix"
}
