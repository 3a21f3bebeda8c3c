#!/usr/bin/env bash
# Builds the screensaver and starts it under Wine.
#   scripts/run.sh            the full-screen run ("/s")
#   scripts/run.sh /c         any other command line of the screensaver, e.g. its settings dialog
#   scripts/run.sh page       its settings page inside a host window of another program ("-1:<hex>")
#   scripts/run.sh preview    its preview picture inside such a host window ("/p <decimal>")
# With DISPLAY set it runs there until the user ends it (a key, a click or a mouse move ends the
# full-screen run; closing the host ends the page and the preview). Without a display it runs on
# a private 1024x768 virtual display, saves build/screenshot.png after a few seconds and ends.
set -euo pipefail
source "$(dirname "$0")/common.sh"
mode=${1:-/s}
prepare
configure_windows -DTELLARO_TESTS=OFF
cmake --build "$build/windows" -j "$jobs" --target tellaro randomizer host_window
saver="$build/windows/shell/tellaro.scr"
host="$build/windows/tools/host_window/host_window.exe"

cleanup() {
  wineserver -k 2>/dev/null || true
  [ -n "${xvfb_pid:-}" ] && kill "$xvfb_pid" 2>/dev/null || true
}
if [ -z "${DISPLAY:-}" ]; then
  trap cleanup EXIT
  start_private_display
  init_wine_prefix "$build/wine-run"
fi
export WINEDEBUG=-all

# Registered in the prefix as an installation would be (once), so that the settings dialog
# finds its installation folder and the collection lists this build.
collection='HKCU\Software\Kestrune\Halcyonix'
if ! wine reg query "$collection\Tellaro" /v InstallPath >/dev/null 2>&1; then
  install_dir="$build/wine-install"
  mkdir -p "$install_dir"
  wine reg add "$collection\Tellaro" /v InstallPath /t REG_SZ /d "$(winepath -w "$install_dir")\\" /f >/dev/null 2>&1
  wine reg add "$collection\Tellaro" /v ExecutablePath /t REG_SZ /d "$(winepath -w "$saver")" /f >/dev/null 2>&1
  wine reg add "$collection\List" /v Tellaro /t REG_SZ /d Tellaro /f >/dev/null 2>&1
fi

# The page and the preview need a window of another program to live in: the host window
# writes its handle, hexadecimal and decimal, into a file.
case "$mode" in
  page | preview)
    handle_file=$(mktemp)
    wine "$host" "$(winepath -w "$handle_file")" &
    for _ in $(seq 100); do [ -s "$handle_file" ] && break; sleep 0.1; done
    read -r hex decimal <"$handle_file"
    rm -f "$handle_file"
    if [ "$mode" = page ]; then set -- "-1:$hex"; else set -- /p "$decimal"; fi
    ;;
  *) set -- "$@" ;;
esac
[ $# -eq 0 ] && set -- /s

if [ -n "${DISPLAY:-}" ] && [ -z "${xvfb_pid:-}" ]; then
  exec wine "$saver" "$@"
fi
wine "$saver" "$@" &
saver_pid=$!
sleep "${TELLARO_SCREENSHOT_DELAY:-6}"
shot="$build/screenshot.png"
import -window root "$shot"
echo "screenshot: $shot"
# A key press ends a full-screen run, as it would for a user; the rest ends with the display.
xdotool key space || true
for _ in $(seq 50); do kill -0 "$saver_pid" 2>/dev/null || break; sleep 0.1; done
