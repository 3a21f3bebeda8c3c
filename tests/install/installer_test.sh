#!/usr/bin/env bash
# The installer in a fresh prefix of its own, on the test run's display.
#  1. Over another current screensaver, into the default folder: silent install, a second one
#     over it, the installed launcher starting the screensaver, the program's catalogue cache,
#     silent uninstall: folder and cache gone, the other screensaver current again.
#  2. Into an existing folder with non-ASCII characters and files of the user's own, without
#     making Tellaro current, then again over it without /KEEPCURRENT: the user's choice
#     stays. Another account's first starts of the installed programs; the uninstall beside
#     another member of the collection leaves the user's files, links followed nowhere, and
#     the launcher, which tells a still registered account that Tellaro is gone.
#  3. By an account that had chosen Tellaro already (registered by the programs): the
#     uninstall leaves no screensaver, not the removed one.
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
fail() {
  echo "installer_test.sh: $*" >&2
  exit 1
}
# What the settings dialog writes below an install folder (given as a Unix path): the
# catalogue, a product's screenshot and icon, and a temporary file of a download.
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
echo notes >"$folder/notes.txt"
echo page >"$folder/web/index.html"
echo style >"$folder/web/css/site.css"
echo picture >"$linked/screenshot.jpg"
echo icon >"$linked/icon.bmp"
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
[ "$(listing "$folder" "$linked")" = "$own_files" ] ||
  fail "the uninstall changed the user's files: $(diff <(echo "$own_files") <(listing "$folder" "$linked"))"
check RemovedProgram

wine reg delete 'HKCU\Software\Kestrune\Halcyonix\List' /v Sibling /f >/dev/null
wine reg add "$desktop" /v SCRNSAVE.EXE /d 'C:\windows\system32\tellaro.scr' /f >/dev/null
wine reg add "$desktop" /v ScreenSaveActive /d 1 /f >/dev/null
export TELLARO_EXPECT_DIR=default TELLARO_EXPECT_CURRENT=tellaro TELLARO_EXPECT_LAUNCHER=removed TELLARO_EXPECT_OWN_FILES=0
wine "$setup" /S
check Installed
uninstall
TELLARO_EXPECT_CURRENT='(none)' TELLARO_EXPECT_ACTIVE=1 check Uninstalled
