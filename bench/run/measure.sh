#!/usr/bin/env bash
# The full-screen run measured under Wine on one private virtual display of 1024x768:
#  - process start to first frame and peak memory of "tellaro.scr /s" (5 runs each), with
#    Wine's default window handling and with Wine told that no window manager is present;
#  - frames per second of the full-screen window through its own frame timer.
# Usage: bench/run/measure.sh [seconds of the frame-rate run, default 20]
set -euo pipefail
source "$(dirname "$0")/../../scripts/common.sh"
source "$(dirname "$0")/../windows_bench.sh"
seconds=${1:-20}

prepare
build_windows_bench tellaro tellaro_run_bench

open_bench_sandbox bench-run

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
