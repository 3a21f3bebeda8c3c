#!/usr/bin/env bash
# The installer in a fresh prefix of its own, on the test run's display.
#  1. Over another current screensaver, into the default folder, twice; the installed launcher;
#     the uninstall removes folder and cache and makes the other screensaver current again.
#  2. Into an existing non-ASCII folder with files of the user's own, with /KEEPCURRENT, then
#     again without it: the user's choice stays. Another account's first starts. The uninstall
#     beside another member keeps the launcher and the user's files, and follows no link.
#  3. By an account that had chosen Tellaro by hand: the uninstall leaves no screensaver.
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
# What the settings dialog writes below an install folder (a Unix path): the catalogue, a
# product's screenshot and icon, a download's temporary file.
program_cache() {
  mkdir -p "$1/web/SIBLING"
  for file in web/update.xml web/SIBLING/screenshot.jpg web/SIBLING/icon.bmp web/SIBLING/tlr1A2B.tmp; do
    echo cached >"$1/$file"
  done
}
# Every file and folder below the given Unix paths, links not followed.
listing() { find "$@" | LC_ALL=C sort; }

desktop='HKCU\Control Panel\Desktop'
wine reg add "$desktop" /v SCRNSAVE.EXE /d 'C:\windows\system32\previous.scr' /f >/dev/null
wine reg add "$desktop" /v ScreenSaveActive /d 0 /f >/dev/null

export TELLARO_EXPECT_DIR=default TELLARO_EXPECT_CURRENT=tellaro TELLARO_EXPECT_LAUNCHER=removed
wine "$setup" /S
check Installed
wine "$setup" /S
check Installed
check Run
program_cache "$(winepath -u "$(wine cmd /c 'echo %LOCALAPPDATA%' | tr -d '\r')\\Kestrune\\Tellaro")"
uninstall
TELLARO_EXPECT_CURRENT='C:\windows\system32\previous.scr' TELLARO_EXPECT_ACTIVE=0 check Uninstalled

folder="$WINEPREFIX/drive_c/Ωμέγα-テスト/Tellaro" linked="$WINEPREFIX/drive_c/linked"
mkdir -p "$folder/web/css" "$linked"
for file in "$folder/notes.txt" "$folder/web/index.html" "$folder/web/css/site.css" "$linked/screenshot.jpg" \
  "$linked/icon.bmp"; do echo own >"$file"; done
# Wine shows a Unix link to a folder as a junction.
ln -s "$linked" "$folder/web/Linked"
own_files=$(listing "$folder" "$linked")

export TELLARO_EXPECT_DIR='C:\Ωμέγα-テスト\Tellaro\' TELLARO_EXPECT_CURRENT='C:\windows\system32\previous.scr'
export TELLARO_EXPECT_ACTIVE=0 TELLARO_EXPECT_LAUNCHER=kept TELLARO_EXPECT_OWN_FILES=1
wine "$setup" /S /KEEPCURRENT '/D=C:\Ωμέγα-テスト\Tellaro'
check Installed
wine "$setup" /S '/D=C:\Ωμέγα-テスト\Tellaro'
check Installed
program_cache "$folder"
check OtherAccount
wine reg add 'HKCU\Software\Kestrune\Halcyonix\List' /v Sibling /d 'Another member' /f >/dev/null
uninstall
check Uninstalled
diff <(echo "$own_files") <(listing "$folder" "$linked") || { echo "the user's files changed" >&2; exit 1; }

wine reg delete 'HKCU\Software\Kestrune\Halcyonix\List' /v Sibling /f >/dev/null
wine reg add "$desktop" /v SCRNSAVE.EXE /d 'C:\windows\system32\tellaro.scr' /f >/dev/null
wine reg add "$desktop" /v ScreenSaveActive /d 1 /f >/dev/null
export TELLARO_EXPECT_DIR=default TELLARO_EXPECT_CURRENT=tellaro TELLARO_EXPECT_LAUNCHER=removed TELLARO_EXPECT_OWN_FILES=0
wine "$setup" /S
check Installed
uninstall
TELLARO_EXPECT_CURRENT='(none)' TELLARO_EXPECT_ACTIVE=1 check Uninstalled
