#!/usr/bin/env bash
# The installer in a fresh prefix of its own, on the test run's display.
#  1. Over another current screensaver (an expandable value), silently, twice; the installed launcher; through the
#     pages to the settings on the finish page. The uninstallation removes programs, folders and
#     downloads and makes the other screensaver current again.
#  2. Beside another member that counts the launcher, with /KEEPCURRENT, then again without it:
#     nothing of the user's own, the user's choice stays. Another account's first starts. A
#     user's folder with files of its own and a link, and a link along the uninstaller's path:
#     the uninstallation keeps the launcher and leaves all of that as it was.
#  3. By an account that had chosen Tellaro by hand: the uninstallation leaves no screensaver.
# Arguments: the installer, installer_check.exe, the pristine prefix.
source "$(dirname "$0")/../support/wine_sandbox.sh"
setup=$1 check=$2
sandbox_prefix "$3"
TELLARO_SETUP=$(winepath -w "$setup")
export TELLARO_SETUP

check() {
  echo "== check $1"
  wine "$check" --gtest_filter="$1.*" --gtest_brief=1
}
install() { TELLARO_SETUP_ARGS="$*" check Setup; }
# What the settings dialog writes below a user's folder (a Unix path): the catalogue, a
# product's screenshot and icon, a download's temporary file.
program_cache() {
  mkdir -p "$1/web/SIBLING"
  for file in web/update.xml web/SIBLING/screenshot.jpg web/SIBLING/icon.bmp web/SIBLING/tlr1A2B.tmp; do
    echo cached >"$1/$file"
  done
}
# Every file and folder below the given Unix paths, links not followed.
listing() { find "$@" | LC_ALL=C sort; }
unix_path() { winepath -u "$(wine cmd /c "echo $1" | tr -d '\r')"; }

desktop='HKCU\Control Panel\Desktop'
shared='HKLM\Software\Microsoft\Windows\CurrentVersion\SharedDLLs'
system32='C:\windows\system32'
# Put back as what it names.
wine reg add "$desktop" /v SCRNSAVE.EXE /t REG_EXPAND_SZ /d '%SystemRoot%\system32\previous.scr' /f >/dev/null
wine reg add "$desktop" /v ScreenSaveActive /d 0 /f >/dev/null

export TELLARO_EXPECT_CURRENT=tellaro TELLARO_EXPECT_LAUNCHER=removed
install /S
check Installed
install /S
check Installed
check Run
check FinishPage
program_cache "$(unix_path '%LOCALAPPDATA%')/Kestrune/Tellaro"
check Uninstall
TELLARO_EXPECT_CURRENT="$system32\\previous.scr" TELLARO_EXPECT_ACTIVE=0 check Uninstalled

wine reg add "$shared" /v "$system32\\randomizer.exe" /t REG_DWORD /d 1 /f >/dev/null
export TELLARO_EXPECT_CURRENT="$system32\\previous.scr" TELLARO_EXPECT_ACTIVE=0 TELLARO_EXPECT_LAUNCHER=kept
install /S /KEEPCURRENT
check Installed
install /S
check Installed
check OtherAccount
# The user's registration names a folder of the user's own, with a link in it.
folder="$WINEPREFIX/drive_c/Ωμέγα-テスト/Tellaro" linked="$WINEPREFIX/drive_c/linked"
mkdir -p "$folder/web/css" "$linked"
for file in "$folder/notes.txt" "$folder/web/index.html" "$folder/web/css/site.css" "$linked/screenshot.jpg" \
  "$linked/icon.bmp"; do echo own >"$file"; done
# Wine shows a Unix link to a folder as a junction.
ln -s "$linked" "$folder/web/Linked"
own_files=$(listing "$folder" "$linked")
program_cache "$folder"
export TELLARO_EXPECT_DIR='C:\Ωμέγα-テスト\Tellaro\'
wine reg add 'HKCU\Software\Kestrune\Halcyonix\Tellaro' /v InstallPath /d "$TELLARO_EXPECT_DIR" /f >/dev/null
check UserFolder
# The uninstaller's folder reached through a link: nothing in it is removed.
machine="$(unix_path '%ProgramFiles%')/Kestrune" moved="$WINEPREFIX/drive_c/moved-kestrune"
mv "$machine" "$moved"
ln -s "$moved" "$machine"
machine_files=$(listing "$machine" "$moved")
check Uninstall
TELLARO_EXPECT_KEPT=1 check Uninstalled
diff <(echo "$own_files") <(listing "$folder" "$linked") || { echo "the user's files changed" >&2; exit 1; }
diff <(echo "$machine_files") <(listing "$machine" "$moved") || { echo "the linked folder changed" >&2; exit 1; }

# The other member is gone, and the link with it.
rm "$machine"
wine reg delete "$shared" /v "$system32\\randomizer.exe" /f >/dev/null
rm "$WINEPREFIX/drive_c/windows/system32/randomizer.exe"
wine reg add "$desktop" /v SCRNSAVE.EXE /d "$system32\\tellaro.scr" /f >/dev/null
wine reg add "$desktop" /v ScreenSaveActive /d 1 /f >/dev/null
export TELLARO_EXPECT_CURRENT=tellaro TELLARO_EXPECT_LAUNCHER=removed
install /S
check Installed
check Uninstall
TELLARO_EXPECT_CURRENT='(none)' TELLARO_EXPECT_ACTIVE=1 check Uninstalled
