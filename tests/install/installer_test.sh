#!/usr/bin/env bash
# The installer in a fresh prefix of its own, on the test run's display: silent install,
# a second one over it, the installed launcher starting the screensaver, silent uninstall;
# then an install into a folder with non-ASCII characters, without making Tellaro the
# current screensaver, and its uninstall beside another member of the collection.
# Arguments: the installer, installer_check.exe, the pristine prefix.
source "$(dirname "$0")/../support/wine_sandbox.sh"
setup=$1 check=$2
sandbox_prefix "$3"

check() {
  echo "== check $1"
  wine "$check" --gtest_filter="$1.*" --gtest_brief=1
}
# The registered uninstall command copies the uninstaller away and returns at once; the
# copy's end, and that of everything else in the prefix, is the end of the prefix's server.
uninstall() {
  check Uninstall
  timeout 60 wineserver -w
}

export TELLARO_EXPECT_DIR=default TELLARO_EXPECT_CURRENT=1 TELLARO_EXPECT_LAUNCHER=removed
wine "$setup" /S
check Installed
wine "$setup" /S
check Installed
check Run
uninstall
check Uninstalled

export TELLARO_EXPECT_DIR='C:\Ωμέγα-テスト\Tellaro\' TELLARO_EXPECT_CURRENT=0 TELLARO_EXPECT_LAUNCHER=kept
wine "$setup" /S /KEEPCURRENT '/D=C:\Ωμέγα-テスト\Tellaro'
check Installed
wine reg add 'HKCU\Software\Kestrune\Halcyonix\List' /v Sibling /d 'Another member' /f >/dev/null
uninstall
check Uninstalled
