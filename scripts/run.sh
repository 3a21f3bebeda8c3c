#!/usr/bin/env bash
# Builds the screensaver and starts its full-screen run under Wine. With DISPLAY set it
# runs there until a key, a click or a mouse move ends it. Without a display it runs on
# a private 1024x768 virtual display, saves a screenshot after a few seconds and ends.
set -euo pipefail
source "$(dirname "$0")/common.sh"
prepare
configure_windows -DTELLARO_TESTS=OFF
cmake --build "$build/windows" -j "$jobs" --target tellaro randomizer
saver="$build/windows/shell/tellaro.scr"

if [ -n "${DISPLAY:-}" ]; then
  export WINEDEBUG=-all
  exec wine "$saver" /s
fi

cleanup() {
  wineserver -k 2>/dev/null || true
  [ -n "${xvfb_pid:-}" ] && kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT
start_private_display
init_wine_prefix "$build/wine-run"
wine "$saver" /s &
saver_pid=$!
sleep "${TELLARO_SCREENSHOT_DELAY:-6}"
shot="$build/screenshot.png"
import -window root "$shot"
echo "screenshot: $shot"
# A key press ends the run, as it would for a user.
xdotool key space || true
for _ in $(seq 50); do kill -0 "$saver_pid" 2>/dev/null || break; sleep 0.1; done
