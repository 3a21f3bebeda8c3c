# Shared by the scripts: paths, the builds, and a private X display.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${TELLARO_BUILD_DIR:-$root/build}
jobs=$(nproc)

prepare() {
  "$root/scripts/setup.sh"
  "$root/scripts/build-deps.sh" "$build/deps"
}

configure_windows() {
  cmake -S "$root" -B "$build/windows" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" -DCMAKE_PREFIX_PATH="$build/deps/prefix" \
    "$@" >/dev/null
}

# Starts Xvfb on a free display and exports DISPLAY; xvfb_pid keeps its process. The
# optional size is WIDTHxHEIGHT (24-bit colour) or WIDTHxHEIGHTxDEPTH; default 1024x768.
start_private_display() {
  local fifo display screen=${1:-1024x768}
  [[ $screen == *x*x* ]] || screen+=x24
  fifo=$(mktemp -u); mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp -noreset 3>"$fifo" >/dev/null 2>&1 &
  xvfb_pid=$!
  read -r display <"$fifo"; rm -f "$fifo"
  export DISPLAY=":$display"
}

# A Wine prefix of its own, initialised once; mono and gecko are never asked for.
init_wine_prefix() {
  export WINEPREFIX=$1 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  mkdir -p "$WINEPREFIX"
  [ -f "$WINEPREFIX/system.reg" ] || wineboot -i >/dev/null 2>&1
  wineserver -w
}
