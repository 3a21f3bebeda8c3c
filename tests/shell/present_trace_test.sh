#!/usr/bin/env bash
# The real full-screen run asks for one frame per display refresh: Wine's OpenGL trace shows
# the swap interval of 1 that it sets. Runs in the shared Wine test prefix and display.
# Argument: tellaro.scr.
set -u
trace=$(mktemp)
WINEDEBUG=+wgl wine "$1" /s 2>"$trace" &
run=$!
asked=1
for _ in $(seq 200); do
  if grep -q 'wglSwapIntervalEXT (1)' "$trace"; then asked=0; break; fi
  kill -0 "$run" 2>/dev/null || break
  sleep 0.1
done
grep -q 'WGL_EXT_swap_control' "$trace" || echo "present_trace_test: the driver offers no WGL_EXT_swap_control" >&2
# A second start ends at once and removes the single-instance atom; then the first run goes.
wine "$1" /s 2>/dev/null
kill "$run" 2>/dev/null
wait "$run" 2>/dev/null
rm -f "$trace"
[ "$asked" -eq 0 ] || { echo "present_trace_test: no swap interval of 1 in the trace" >&2; exit 1; }
echo "present_trace_test: the run asked for a swap interval of 1"
