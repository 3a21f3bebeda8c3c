#!/usr/bin/env bash
# Tellaro's full-screen run against XScreenSaver's glplanet, a planet screensaver for
# Linux, on one private virtual display (1024x768 unless given) in one go: for each round,
# glplanet full screen (-root -fps), then "tellaro.scr /s" under Wine with each camera tour
# from its fixed start, each for the given seconds. Both draw through the same Mesa, which
# counts the frames each one presents (GALLIUM_HUD's fps, dumped once a second); the figure
# of a run is the median of its seconds, the first two left out (start-up and loading).
# Prints, per round, the frame rates and the slowest tour's rate over glplanet's; then the
# spread of that ratio over the rounds. glplanet is only run for comparison. Asserts nothing.
# The full-screen window takes the display's size: the run keeps the desktop's mode.
# Usage: bench/peer/measure.sh [seconds per run, default 12] [rounds, default 3]
#                              [display size, default 1024x768]
set -euo pipefail
source "$(dirname "$0")/../../scripts/common.sh"
source "$(dirname "$0")/../windows_bench.sh"
seconds=${1:-12}
rounds=${2:-3}
size=${3:-1024x768}
glplanet=/usr/libexec/xscreensaver/glplanet

prepare
[ -x "$glplanet" ] || { echo "measure.sh: $glplanet is missing (Debian package xscreensaver-gl-extra)" >&2; exit 1; }
build_windows_bench tellaro

open_bench_sandbox bench-peer "$size"
saver="Z:$(echo "$build/windows-bench/shell/tellaro.scr" | tr / '\\')"
key='HKCU\Software\Kestrune\Halcyonix\Tellaro'

# Median frames per second of one run, from the driver's dump; 0 when it counted nothing.
median_fps() {
  tail -n +3 "$1/fps" 2>/dev/null | sort -g |
    awk '{v[NR] = $1} END {if (NR == 0) print 0; else print v[int((NR + 1) / 2)]}'
}

# Runs the command for the given seconds with Mesa counting its frames; prints the median.
counted() {
  local dump
  dump=$(mktemp -d "$work/hud.XXXXXX")
  GALLIUM_HUD=fps GALLIUM_HUD_PERIOD=1 GALLIUM_HUD_DUMP_DIR=$dump timeout -s KILL "$seconds" "$@" \
    >/dev/null 2>&1 || true
  median_fps "$dump"
}

tellaro_tour() {
  wine reg add "$key" /v CamMode /t REG_DWORD /d "$1" /f >/dev/null 2>&1
  counted wine "$saver" /s
  wineserver -k 2>/dev/null || true
  wineserver -w
}

wine reg add "$key" /v RandomCameraStart /t REG_DWORD /d 0 /f >/dev/null 2>&1
wine reg add "$key" /v CurrentVideomode /t REG_DWORD /d 1 /f >/dev/null 2>&1
wine reg add "$key" /v AnimationSpeed /t REG_DWORD /d 50 /f >/dev/null 2>&1
wineserver -w

echo "== machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//')"
mesa=$(dpkg-query -W -f='${Version}' libgl1-mesa-dri 2>/dev/null || true)
echo "== display $DISPLAY ${size}x24, Mesa $mesa (llvmpipe), $(wine --version)"
echo "== $rounds rounds of $seconds s per run; frames per second (median of the seconds)"
printf '%-6s %9s %12s %13s %14s %8s %s\n' round glplanet "Cycle All" "Phobos flyby" "Martian orbit" \
  slowest/glplanet "load average"
ratios=()
for round in $(seq 1 "$rounds"); do
  peer=$(counted "$glplanet" -root -fps)
  cycle=$(tellaro_tour 0)
  flyby=$(tellaro_tour 1)
  orbit=$(tellaro_tour 2)
  slowest=$(printf '%s\n' "$cycle" "$flyby" "$orbit" | sort -g | head -1)
  ratio=$(awk -v a="$slowest" -v b="$peer" 'BEGIN {if (b > 0) printf "%.2f", a / b; else print "n/a"}')
  ratios+=("$ratio")
  printf '%-6s %9.1f %12.1f %13.1f %14.1f %8s   %s\n' "$round" "$peer" "$cycle" "$flyby" "$orbit" "$ratio" \
    "$(cut -d' ' -f1-3 /proc/loadavg)"
done
printf '%s\n' "${ratios[@]}" | grep -v n/a | sort -g |
  awk '{v[NR] = $1} END {if (NR) printf "== slowest tour / glplanet over %d rounds: %.2f to %.2f, median %.2f\n",
    NR, v[1], v[NR], v[int((NR + 1) / 2)]}'
