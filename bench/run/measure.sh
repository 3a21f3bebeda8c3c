#!/usr/bin/env bash
# The full-screen run measured under Wine on one private virtual display of 1024x768:
#  - process start to first frame and peak memory of "tellaro.scr /s" (5 runs each), with
#    Wine's default window handling and with Wine told that no window manager is present;
#  - frames per second of the full-screen window through its own frame timer.
# Usage: bench/run/measure.sh [seconds of the frame-rate run, default 20]
set -euo pipefail
source "$(dirname "$0")/../../scripts/common.sh"
seconds=${1:-20}

prepare
# A Windows tree of its own, so that the benchmark switch stays out of the test build's cache.
cmake -S "$root" -B "$build/windows-bench" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTELLARO_BENCH=ON -DTELLARO_TESTS=OFF \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" -DCMAKE_PREFIX_PATH="$build/deps/prefix" >/dev/null
cmake --build "$build/windows-bench" -j "$jobs" --target tellaro tellaro_run_bench >/dev/null

work=$(mktemp -d "$build/bench-run.XXXXXX")
cleanup() {
  WINEPREFIX=$work/prefix wineserver -k 2>/dev/null || true
  [ -n "${xvfb_pid:-}" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
start_private_display
init_wine_prefix "$work/prefix"

bench="$build/windows-bench/bench/run/tellaro_run_bench.exe"
saver="Z:$(echo "$build/windows-bench/shell/tellaro.scr" | tr / '\\')"
echo "== machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//')"
echo "== display $DISPLAY 1024x768x24, $(wine --version)"
# Other work on the machine moves every figure below; the load is printed with each.
load() { echo "   (load average $(cut -d' ' -f1-3 /proc/loadavg))"; }

echo "== tellaro: process start to first frame, Wine's default window handling"
wine "$bench" startup "$saver" 5 | tail -3
load
echo "== tellaro: process start to first frame, Wine told there is no window manager (Managed=N)"
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
wineserver -w
wine "$bench" startup "$saver" 5 | tail -3
load

wineserver -w
echo "== tellaro: frames per second of the full-screen window"
wine "$bench" frames "$seconds" | tail -2
load
