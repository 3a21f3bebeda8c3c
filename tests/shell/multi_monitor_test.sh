#!/usr/bin/env bash
# Runs multi_monitor_process_test.exe on a display of its own with two monitors: Xvfb with
# two Xinerama screens, which Wine reports as two monitors once its X11 driver is told
# not to use XRandR. Own prefix and display, so the shared Wine tests see neither.
# Arguments: the test program, the pristine prefix.
source "$(dirname "$0")/../support/wine_sandbox.sh"
test_program=$1
sandbox_display +xinerama -screen 0 800x600x24 -screen 1 640x480x24
sandbox_prefix "$2"
wine reg add 'HKCU\Software\Wine\X11 Driver' /v UseXRandR /d N /f >/dev/null
# The monitor list is read when the session starts: start the next one with the setting.
wineserver -w
wine "$test_program"
