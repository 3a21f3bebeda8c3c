#!/usr/bin/env bash
# One monitor against two, side by side: the full-screen window's frames per second and the
# run's peak memory with "Monitors" 0 (the second monitor black) and 1 (the planet on both),
# alternating round after round on one private display of two 1024x768 monitors.
# Usage: bench/run/monitors.sh [seconds of each run, default 15] [rounds, default 3]
set -euo pipefail
source "$(dirname "$0")/../../scripts/common.sh"
source "$(dirname "$0")/../windows_bench.sh"
seconds=${1:-15}
rounds=${2:-3}

prepare
build_windows_bench tellaro_run_bench

work=$(mktemp -d "$build/bench-monitors.XXXXXX")
trap 'WINEPREFIX=$work/prefix wineserver -k 2>/dev/null || true; [ -n "${xvfb_pid:-}" ] && kill "$xvfb_pid" 2>/dev/null || true; rm -rf "$work"' EXIT
# Two Xinerama screens, which Wine reports as two monitors once it is told not to use XRandR.
fifo=$(mktemp -u); mkfifo "$fifo"
Xvfb -displayfd 3 +xinerama -screen 0 1024x768x24 -screen 1 1024x768x24 -nolisten tcp -noreset 3>"$fifo" \
  >/dev/null 2>&1 &
xvfb_pid=$!
read -r display <"$fifo"; rm -f "$fifo"
export DISPLAY=":$display"
init_wine_prefix "$work/prefix"
wine reg add 'HKCU\Software\Wine\X11 Driver' /v UseXRandR /d N /f >/dev/null
wineserver -w

bench="$build/windows-bench/bench/run/tellaro_run_bench.exe"
echo "== machine: $(nproc) cores, display $DISPLAY with two monitors of 1024x768x24, $(wine --version)"
for round in $(seq "$rounds"); do
  for monitors in 0 1; do
    echo "== round $round, Monitors $monitors (load average $(cut -d' ' -f1-3 /proc/loadavg))"
    wine "$bench" frames "$seconds" "$monitors" | tail -3
  done
done
