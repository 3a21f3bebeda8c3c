# Sourced by the script tests that need Wine to themselves: a prefix of their own, copied
# from a freshly booted one that the build tree keeps (booted once, under a lock), and,
# when asked, an Xvfb display of their own. Everything started here ends with the script,
# whether it passes or not.
set -euo pipefail

# sandbox_prefix <pristine prefix dir>: exports WINEPREFIX, a fresh copy of the pristine one.
sandbox_prefix() {
  local pristine=$1
  export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  mkdir -p "$(dirname "$pristine")"
  (
    flock 9
    if [ ! -f "$pristine/.booted" ]; then
      rm -rf "$pristine"
      WINEPREFIX=$pristine wineboot -i >/dev/null 2>&1
      WINEPREFIX=$pristine wineserver -w
      touch "$pristine/.booted"
    fi
  ) 9>"$pristine.lock"
  sandbox_dir=$(mktemp -d "${TMPDIR:-/tmp}/tellaro-sandbox.XXXXXX")
  cp -a "$pristine" "$sandbox_dir/prefix"
  export WINEPREFIX=$sandbox_dir/prefix
}

# sandbox_display <Xvfb screen arguments...>: exports DISPLAY, a new Xvfb of this script.
sandbox_display() {
  local fifo display
  fifo=$(mktemp -u); mkfifo "$fifo"
  Xvfb -displayfd 3 "$@" -nolisten tcp -noreset 3>"$fifo" >/dev/null 2>&1 &
  sandbox_xvfb=$!
  read -r display <"$fifo"; rm -f "$fifo"
  export DISPLAY=":$display"
}

sandbox_cleanup() {
  if [ -n "${sandbox_dir:-}" ]; then
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
    rm -rf "$sandbox_dir"
  fi
  if [ -n "${sandbox_xvfb:-}" ]; then kill "$sandbox_xvfb" 2>/dev/null || true; fi
}
trap sandbox_cleanup EXIT
