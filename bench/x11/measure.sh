#!/usr/bin/env bash
# Frames per second on one private 1024x768 Xvfb display (Mesa's software OpenGL), on the root
# window: the X11 program (tellaro) beside XScreenSaver's glplanet (xscreensaver-gl-extra),
# both counted by the same preloaded swap counter. Each row runs the given seconds (default
# 20) and reports the median, lowest and highest frames per second of its whole seconds,
# leaving out the first two.
# Usage: bench/x11/measure.sh [seconds]
set -euo pipefail
source "$(dirname "$0")/../../scripts/common.sh"
seconds=${1:-20}
glplanet=/usr/libexec/xscreensaver/glplanet

"$root/scripts/setup.sh"
[ -x "$glplanet" ] || { echo "measure.sh: $glplanet is missing (Debian: xscreensaver-gl-extra)" >&2; exit 1; }
cmake -S "$root" -B "$build/bench" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTELLARO_BENCH=ON -DTELLARO_TESTS=OFF >/dev/null
cmake --build "$build/bench" -j "$jobs" --target tellaro_x11 tellaro_swap_counter >/dev/null
tellaro="$build/bench/x11/tellaro"
counter="$build/bench/bench/x11/libtellaro_swap_counter.so"

work=$(mktemp -d "$build/bench-x11.XXXXXX")
cleanup() {
  [ -n "${pid:-}" ] && kill "$pid" 2>/dev/null || true
  [ -n "${xvfb_pid:-}" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
start_private_display

echo "== machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//')"
echo "== display $DISPLAY 1024x768x24, Xvfb with Mesa $(dpkg-query -W -f='${Version}' libgl1-mesa-dri 2>/dev/null)"
printf '%-44s %8s %8s %8s   %s\n' "program" "median" "lowest" "highest" "load average"

# run <label> <program> [args...]: frames per second over the given seconds.
run() {
  local label=$1 log=$work/swaps.log
  shift
  rm -f "$log"
  TELLARO_SWAP_LOG=$log LD_PRELOAD=$counter "$@" >/dev/null 2>&1 &
  pid=$!
  sleep "$seconds"
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  pid=""
  local load
  load=$(cut -d' ' -f1-3 /proc/loadavg)
  touch "$log"
  awk '$1 > 2 { print $2 }' "$log" | sort -n | awk -v label="$label" -v load="$load" '{ v[++n] = $1 }
    END { if (n == 0) { printf "%-44s %8s\n", label, "no frames"; exit }
          printf "%-44s %8.1f %8.1f %8.1f   %s\n", label, v[int((n + 1) / 2)], v[1], v[n], load }'
}

run "glplanet -root (its default -delay 20000)" "$glplanet" -root
run "tellaro -root (paced at the display: 60)" "$tellaro" -root -no-random
run "glplanet -root -delay 0" "$glplanet" -root -delay 0
for tour in cycle flyby orbit; do
  run "tellaro -root -frame-rate 0 -tour $tour" "$tellaro" -root -no-random -frame-rate 0 -tour "$tour"
done
run "tellaro -root -frame-rate 0, orbit, sun in view" "$tellaro" -root -frame-rate 0 -tour orbit -start 1125 -speed 0
