#!/usr/bin/env bash
# The frame benchmark's Windows build under Wine: each frame is drawn into a WGL window of the
# size being measured, so the private display is 1920x1080, the largest of them.
# Usage: bench/frame/wine.sh [tellaro_frame_bench's arguments: frames per stretch, archive]
set -euo pipefail
source "$(dirname "$0")/../../scripts/common.sh"
source "$(dirname "$0")/../windows_bench.sh"

prepare
build_windows_bench tellaro_frame_bench
open_bench_sandbox bench-frame 1920x1080

echo "== machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//')"
echo "== display $DISPLAY 1920x1080x24, Mesa $(dpkg-query -W -f='${Version}' libgl1-mesa-dri 2>/dev/null || true)" \
  "(llvmpipe), $(wine --version), load average $(cut -d' ' -f1-3 /proc/loadavg)"
# The archive's path built in is a Unix one: from a folder on Wine's drive Z: it resolves there.
cd "$build/windows-bench/bench/frame"
wine tellaro_frame_bench.exe "$@"
