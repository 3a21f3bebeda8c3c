#!/usr/bin/env bash
# The full-screen run measured under Wine next to the planet screensaver a Linux user would
# pick instead (XScreenSaver's glplanet from Debian's xscreensaver-gl-extra), on one private
# virtual display of 1024x768, in one run:
#  - process start to first frame and peak memory of "tellaro.scr /s" (5 runs each), with
#    Wine's default window handling and with Wine told that no window manager is present;
#  - frames per second of the full-screen window through its own frame timer;
#  - glplanet -root -delay 0 -fps: frames per second (its swaps counted by a preloaded
#    counter; its own on-screen figure agrees) and peak memory.
# Usage: bench/run/compare.sh [seconds per frame-rate run, default 20]
set -euo pipefail
source "$(dirname "$0")/../../scripts/common.sh"
seconds=${1:-20}
glplanet=/usr/libexec/xscreensaver/glplanet

prepare
if [ ! -x "$glplanet" ]; then
  sudo=""; [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends xscreensaver-gl-extra
fi
# A Windows tree of its own, so that the benchmark switch stays out of the test build's cache.
cmake -S "$root" -B "$build/windows-bench" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTELLARO_BENCH=ON -DTELLARO_TESTS=OFF \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" -DCMAKE_PREFIX_PATH="$build/deps/prefix" >/dev/null
cmake --build "$build/windows-bench" -j "$jobs" --target tellaro tellaro_run_bench >/dev/null

work=$(mktemp -d "$build/bench-run.XXXXXX")
cleanup() {
  [ -n "${glplanet_pid:-}" ] && kill "$glplanet_pid" 2>/dev/null || true
  WINEPREFIX=$work/prefix wineserver -k 2>/dev/null || true
  [ -n "${xvfb_pid:-}" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
start_private_display
init_wine_prefix "$work/prefix"
cc -shared -fPIC -O2 -o "$work/libswapcount.so" "$root/bench/run/swap_counter.c" -ldl

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

# glplanet runs before and after the screensaver's own frame-rate run, so that a change of
# the machine's load during the run shows in the figures.
run_glplanet() {
  rm -f "$work/swaps.log"
  SWAP_COUNTER_LOG="$work/swaps.log" LD_PRELOAD="$work/libswapcount.so" "$glplanet" -root -delay 0 -fps \
    >/dev/null 2>&1 &
  glplanet_pid=$!
  sleep $((seconds + 5))
  local peak
  peak=$(awk '/VmHWM/ {print $2}' "/proc/$glplanet_pid/status")
  kill "$glplanet_pid"; wait "$glplanet_pid" 2>/dev/null || true; glplanet_pid=""
  # Frames per second over the run after its first five seconds.
  awk -v peak="$peak" '$1 >= 5 && !t0 {t0 = $1; f0 = $2} {t = $1; f = $2}
    END {printf "glplanet: %d frames in %.1f s = %.1f frames per second; peak resident %.1f MiB\n",
         f - f0, t - t0, (f - f0) / (t - t0), peak / 1024}' "$work/swaps.log"
  load
}

wineserver -w  # nothing of Wine's left running beside glplanet
echo "== glplanet -root -delay 0 -fps (before)"
run_glplanet
echo "== tellaro: frames per second of the full-screen window"
wine "$bench" frames "$seconds" | tail -2
load
wineserver -w
echo "== glplanet -root -delay 0 -fps (after)"
run_glplanet

