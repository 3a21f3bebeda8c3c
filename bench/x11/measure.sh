#!/usr/bin/env bash
# The X11 program (tellaro) beside XScreenSaver's glplanet (xscreensaver-gl-extra) on the root
# window of two private Xvfb displays, 1024x768 and 1920x1080 (Mesa's software OpenGL), both
# counted by the same preloaded swap counter. Each run lasts the given seconds; its first two
# are left out (start-up and loading). A run's figures: frames per second (the median of its
# whole seconds) and the median and 95th percentile of its frame intervals in ms. Each round
# runs every row on both sizes in turn, so that other work on the machine weighs on all alike.
# Prints each run, a table of the rounds per size, then the medians over the rounds.
# Usage: bench/x11/measure.sh [seconds per run, default 12] [rounds, default 3]
set -euo pipefail
source "$(dirname "$0")/../../scripts/common.sh"
seconds=${1:-12}
rounds=${2:-3}
sizes=(1024x768 1920x1080)
glplanet=/usr/libexec/xscreensaver/glplanet

"$root/scripts/setup.sh"
[ -x "$glplanet" ] || { echo "measure.sh: $glplanet is missing (Debian: xscreensaver-gl-extra)" >&2; exit 1; }
cmake -S "$root" -B "$build/bench" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTELLARO_BENCH=ON -DTELLARO_TESTS=OFF >/dev/null
cmake --build "$build/bench" -j "$jobs" --target tellaro_x11 tellaro_swap_counter >/dev/null
tellaro="$build/bench/x11/tellaro"
counter="$build/bench/bench/x11/libtellaro_swap_counter.so"

# "label|command"; glplanet's default pacing is -delay 20000, tellaro's the display's 60 Hz.
rows=(
  "glplanet -root|$glplanet -root"
  "glplanet -root -delay 0|$glplanet -root -delay 0"
  "tellaro -root (paced)|$tellaro -root -no-random"
  "tellaro -frame-rate 0 -tour cycle|$tellaro -root -no-random -frame-rate 0 -tour cycle"
  "tellaro -frame-rate 0 -tour flyby|$tellaro -root -no-random -frame-rate 0 -tour flyby"
  "tellaro -frame-rate 0 -tour orbit|$tellaro -root -no-random -frame-rate 0 -tour orbit"
  "tellaro -frame-rate 0 orbit, sun in view|$tellaro -root -frame-rate 0 -tour orbit -start 1125 -speed 0"
)

work=$(mktemp -d "$build/bench-x11.XXXXXX")
servers=()
cleanup() {
  for server in "${servers[@]}"; do kill "$server" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT
declare -A display_of
for size in "${sizes[@]}"; do
  start_private_display "$size"
  servers+=("$xvfb_pid")
  display_of[$size]=$DISPLAY
done

# Median and 95th percentile (nearest rank) of the numbers on stdin, "-" where there are none.
quantiles() {
  grep -v '^-$' | sort -g | awk '{ v[++n] = $1 } END { if (!n) { print "- -"; exit }
    p = int(n * 0.95); if (p < n * 0.95) p++; printf "%.1f %.1f\n", v[int((n + 1) / 2)], v[p] }'
}

# run <display> <command...>: "fps median-ms p95-ms" of one run.
run() {
  local display=$1 fps
  shift
  : >"$work/swaps"; : >"$work/intervals"
  DISPLAY=$display TELLARO_SWAP_LOG=$work/swaps TELLARO_SWAP_INTERVALS=$work/intervals LD_PRELOAD=$counter \
    timeout -k 2 "$seconds" "$@" >/dev/null 2>&1 || true
  fps=$(awk '$1 > 2 { print $2 }' "$work/swaps" | quantiles | cut -d' ' -f1)
  echo "$fps $(awk '$1 > 2 { print $2 }' "$work/intervals" | quantiles)"
}

# Each "fps median p95" line on stdin as one cell of a table row.
cells() { while read -r fps median p95; do printf '  %5s %5s %5s' "$fps" "$median" "$p95"; done; }

# The median over the rounds of each figure in a row's file.
over_rounds() {
  local column
  for column in 1 2 3; do cut -d' ' -f"$column" "$1" | quantiles | cut -d' ' -f1; done | paste -sd' '
}

echo "== machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//')"
echo "== Xvfb ${sizes[*]} (24 bits), Mesa $(dpkg-query -W -f='${Version}' libgl1-mesa-dri 2>/dev/null || true)"
echo "== $rounds rounds of $seconds s per run; figures: fps, median ms, 95th percentile ms"
for round in $(seq "$rounds"); do
  for size in "${sizes[@]}"; do
    for i in "${!rows[@]}"; do
      read -ra command <<<"${rows[i]#*|}"
      figures=$(run "${display_of[$size]}" "${command[@]}")
      echo "$figures" >>"$work/$size.$i"
      printf 'round %d %-9s %-40s %-17s load %s\n' "$round" "$size" "${rows[i]%%|*}" "$figures" \
        "$(cut -d' ' -f1-3 /proc/loadavg)"
    done
  done
done

for size in "${sizes[@]}"; do
  echo
  echo "== $size: fps, median ms, 95th percentile ms per round"
  printf '%-40s' ""
  for round in $(seq "$rounds"); do printf '  %-17s' "round $round"; done
  echo
  for i in "${!rows[@]}"; do
    printf '%-40s' "${rows[i]%%|*}"
    cells <"$work/$size.$i"
    echo
  done
done

echo
echo "== median over the rounds: fps, median ms, 95th percentile ms"
printf '%-40s  %-17s  %-17s\n' "" "${sizes[@]}"
for i in "${!rows[@]}"; do
  printf '%-40s' "${rows[i]%%|*}"
  for size in "${sizes[@]}"; do
    over_rounds "$work/$size.$i" | cells
  done
  echo
done
