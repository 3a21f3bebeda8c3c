; The Tellaro installer (makensis; installer/CMakeLists.txt passes the paths below).
;
; What goes where:
;  - tellaro.scr and randomizer.exe into the system folder, where Windows lists screensavers;
;  - the uninstaller into the install folder, by default a folder of the user's own
;    ($LOCALAPPDATA\Kestrune\Tellaro): the settings and the registration live in the
;    user's hive, and the settings dialog caches the online catalogue below its "web\", so
;    the folder must be the user's and writable without elevation;
;  - the member's registration under HKCU\Software\Kestrune\Halcyonix, the uninstall
;    entry under HKCU's Uninstall key. Both are the account's the installer runs as (with an
;    administrator's credentials, that administrator's); every other account gets its
;    registration from the installed programs when one of them first starts for it, with a
;    folder of its own below its local application data.
; Command line (besides /S and /D=folder): /KEEPCURRENT leaves the user's current
; screensaver alone (the "current screensaver" component is on by default for a first
; install; over an installation it is off, so a reinstall keeps the user's choice).
;
; Expected defines: SOURCE_DIR, SCR_FILE, RANDOMIZER_FILE, OUT_FILE.

Unicode true
Target amd64-unicode
; A 64-bit installer runs as a 64-bit process: $SYSDIR is the 64-bit system folder and no
; file-system redirection applies, so tellaro.scr lands where 64-bit Windows looks for it.
!if ${NSIS_PTR_SIZE} != 8
  !error "the installer must be built for amd64"
!endif

!include LogicLib.nsh
!include FileFunc.nsh
!include MUI2.nsh

!searchparse /file "${SOURCE_DIR}/base/product.h" '#define TELLARO_VERSION_TEXT "' VERSION '"'

!define COMPANY "Kestrune"
!define TITLE "Tellaro"
!define COLLECTION_KEY "Software\Kestrune\Halcyonix"
!define MEMBER_KEY "${COLLECTION_KEY}\Tellaro"
!define LIST_KEY "${COLLECTION_KEY}\List"
!define DESKTOP_KEY "Control Panel\Desktop"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Kestrune Tellaro"
!define WEB "http://www.kestrune.example/"

Name "${TITLE} ${VERSION}"
Caption "${TITLE} ${VERSION} Setup"
OutFile "${OUT_FILE}"
InstallDir "$LOCALAPPDATA\${COMPANY}\${TITLE}"
; A new install goes where the last one went.
InstallDirRegKey HKCU "${MEMBER_KEY}" "InstallPath"
; The system folder is written to.
RequestExecutionLevel admin
ManifestDPIAware true
SetCompressor /SOLID lzma
BrandingText "${COMPANY} - Halcyonix 3D"
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION}.0.0"
VIAddVersionKey /LANG=1033 "ProductName" "${TITLE}"
VIAddVersionKey /LANG=1033 "CompanyName" "${COMPANY}"
VIAddVersionKey /LANG=1033 "FileDescription" "${TITLE} screensaver setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Copyright (C) ${COMPANY}"

!define MUI_ICON "${SOURCE_DIR}/shell/tellaro.ico"
!define MUI_UNICON "${SOURCE_DIR}/shell/tellaro.ico"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_SMALLDESC
!define MUI_WELCOMEPAGE_TEXT "This installs ${TITLE} ${VERSION}, a 3D screensaver of the Halcyonix 3D collection: a planet turning in space with its clouds, a small moon, thousands of stars and a sun with lens flares.$\r$\n$\r$\nThe screensaver goes into the Windows system folder; the folder you choose holds the uninstaller and the screensaver's downloads.$\r$\n$\r$\n$_CLICK"
!define MUI_FINISHPAGE_RUN "$SYSDIR\tellaro.scr"
!define MUI_FINISHPAGE_RUN_PARAMETERS "/c"
!define MUI_FINISHPAGE_RUN_TEXT "Open the screensaver's settings"
!define MUI_FINISHPAGE_RUN_NOTCHECKED
!define MUI_FINISHPAGE_LINK "${COMPANY} on the web"
!define MUI_FINISHPAGE_LINK_LOCATION "${WEB}"

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Section "${TITLE} screensaver (required)" SecProgram
  SectionIn RO
  SetOutPath "$SYSDIR"
  File "/oname=tellaro.scr" "${SCR_FILE}"
  File "/oname=randomizer.exe" "${RANDOMIZER_FILE}"

  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  ; The collection's readers want the folder with its final backslash.
  StrCpy $0 "$INSTDIR" "" -1
  ${If} $0 == "\"
    StrCpy $0 "$INSTDIR"
  ${Else}
    StrCpy $0 "$INSTDIR\"
  ${EndIf}
  WriteRegStr HKCU "${LIST_KEY}" "Tellaro" "${TITLE}"
  WriteRegStr HKCU "${MEMBER_KEY}" "ExecutablePath" "$SYSDIR\tellaro.scr"
  WriteRegStr HKCU "${MEMBER_KEY}" "InstallPath" "$0"

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${TITLE} 3D Screensaver"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${COMPANY}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "URLInfoAbout" "${WEB}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "HelpLink" "mailto:support@kestrune.example"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$SYSDIR\tellaro.scr,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$SYSDIR" "/M=tellaro.scr /S=0K /G=0" $1 $2 $3
  ${GetSize} "$SYSDIR" "/M=randomizer.exe /S=0K /G=0" $4 $2 $3
  IntOp $1 $1 + $4
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $1
SectionEnd

; The screensaver it replaces is kept in the uninstall entry, for the uninstaller to put back;
; when Tellaro is current already, the one kept earlier stays.
Section "Make ${TITLE} my current screensaver" SecCurrent
  ReadRegStr $0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  ${If} $0 != "$SYSDIR\tellaro.scr"
    ReadRegStr $1 HKCU "${DESKTOP_KEY}" "ScreenSaveActive"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "PreviousScreenSaver" "$0"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "PreviousScreenSaveActive" "$1"
  ${EndIf}
  WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" "$SYSDIR\tellaro.scr"
  WriteRegStr HKCU "${DESKTOP_KEY}" "ScreenSaveActive" "1"
SectionEnd

!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
  !insertmacro MUI_DESCRIPTION_TEXT ${SecProgram} "The screensaver and the collection's random launcher, in the Windows system folder."
  !insertmacro MUI_DESCRIPTION_TEXT ${SecCurrent} "Choose ${TITLE} as the screensaver Windows starts when the computer is idle; uninstalling puts the present one back."
!insertmacro MUI_FUNCTION_DESCRIPTION_END

Function .onInit
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/KEEPCURRENT" $1
  ${IfNot} ${Errors}
    !insertmacro UnselectSection ${SecCurrent}
  ${EndIf}
  ; Over an installation of this account the current screensaver is the user's choice.
  ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "UninstallString"
  ${If} $0 != ""
    !insertmacro UnselectSection ${SecCurrent}
  ${EndIf}
FunctionEnd

; 1 on the stack when the path is a folder that is no junction or other link, 0 otherwise:
; the uninstaller never removes anything through a link, which may lead anywhere.
Function un.IsPlainFolder
  Exch $0
  System::Call 'kernel32::GetFileAttributesW(w r0) i .r0'
  ${If} $0 = -1
    StrCpy $0 0
  ${Else}
    IntOp $0 $0 & 0x410  ; FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT
    ${If} $0 = 0x10
      StrCpy $0 1
    ${Else}
      StrCpy $0 0
    ${EndIf}
  ${EndIf}
  Exch $0
FunctionEnd

; Removes the folder on the stack when it is empty and no link.
Function un.RemoveEmptyFolder
  Exch $0
  Push $0
  Call un.IsPlainFolder
  Exch $1
  ${If} $1 = 1
    RMDir "$0"
  ${EndIf}
  Pop $1
  Pop $0
FunctionEnd
!macro RemoveEmptyFolder FOLDER
  Push "${FOLDER}"
  Call un.RemoveEmptyFolder
!macroend

; What the program leaves in a folder of its catalogue cache besides the cached files: its
; temporary files (a download before it replaces its file) and the probe of a folder's use.
!macro RemoveTemporaryFiles FOLDER
  Delete "${FOLDER}\tlr*.tmp"
  Delete "${FOLDER}\testfilename001.fileext"
!macroend

; The settings dialog's catalogue cache: web\update.xml, and web\<product>\screenshot.jpg and
; icon.bmp. Only those names go, and the folders when that leaves them empty; anything else
; in them (the install folder may be one the user typed, with a web folder of its own) stays.
Function un.RemoveCatalogueCache
  Push $R0
  Push $R1
  Push $R2
  Push "$INSTDIR\web"
  Call un.IsPlainFolder
  Pop $R0
  ${If} $R0 = 1
    FindFirst $R0 $R1 "$INSTDIR\web\*"
    ${DoWhile} $R1 != ""
      ${If} $R1 != "."
      ${AndIf} $R1 != ".."
        Push "$INSTDIR\web\$R1"
        Call un.IsPlainFolder
        Pop $R2
        ${If} $R2 = 1
          Delete "$INSTDIR\web\$R1\screenshot.jpg"
          Delete "$INSTDIR\web\$R1\icon.bmp"
          !insertmacro RemoveTemporaryFiles "$INSTDIR\web\$R1"
          RMDir "$INSTDIR\web\$R1"
        ${EndIf}
      ${EndIf}
      FindNext $R0 $R1
    ${Loop}
    FindClose $R0
    Delete "$INSTDIR\web\update.xml"
    !insertmacro RemoveTemporaryFiles "$INSTDIR\web"
    RMDir "$INSTDIR\web"
  ${EndIf}
  Pop $R2
  Pop $R1
  Pop $R0
FunctionEnd

; The user's nine settings stay: they are the user's choices, a later install finds them
; again, and they are a few numbers in the user's own hive. Everything the installer
; wrote goes, and so do the keys it leaves empty. Other accounts, registered by the
; programs themselves, keep their registration: their hives are not the uninstaller's to
; open, and the launcher tells them the screensaver is gone.
Section "Uninstall"
  ; The launcher is shared by the collection: it stays while another member is listed.
  StrCpy $1 0
  StrCpy $2 0
  ${Do}
    EnumRegValue $0 HKCU "${LIST_KEY}" $1
    ${IfThen} $0 == "" ${|} ${ExitDo} ${|}
    ${IfThen} $0 != "Tellaro" ${|} IntOp $2 $2 + 1 ${|}
    IntOp $1 $1 + 1
  ${Loop}
  Delete /REBOOTOK "$SYSDIR\tellaro.scr"
  ${If} $2 == 0
    Delete /REBOOTOK "$SYSDIR\randomizer.exe"
  ${EndIf}

  ; Still the current screensaver: the one it replaced comes back (none, if there was none).
  ; Another one chosen since is the user's and stays.
  ReadRegStr $0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  ${If} $0 == "$SYSDIR\tellaro.scr"
    ReadRegStr $1 HKCU "${UNINSTALL_KEY}" "PreviousScreenSaver"
    ${If} $1 != ""
      WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" "$1"
    ${Else}
      DeleteRegValue HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
    ${EndIf}
    ClearErrors
    ReadRegStr $1 HKCU "${UNINSTALL_KEY}" "PreviousScreenSaveActive"
    ${IfNot} ${Errors}
      ${If} $1 != ""
        WriteRegStr HKCU "${DESKTOP_KEY}" "ScreenSaveActive" "$1"
      ${Else}
        DeleteRegValue HKCU "${DESKTOP_KEY}" "ScreenSaveActive"
      ${EndIf}
    ${EndIf}
  ${EndIf}

  DeleteRegValue HKCU "${LIST_KEY}" "Tellaro"
  DeleteRegValue HKCU "${MEMBER_KEY}" "ExecutablePath"
  DeleteRegValue HKCU "${MEMBER_KEY}" "InstallPath"
  DeleteRegKey /ifempty HKCU "${LIST_KEY}"
  DeleteRegKey /ifempty HKCU "${MEMBER_KEY}"
  DeleteRegKey /ifempty HKCU "${COLLECTION_KEY}"
  DeleteRegKey /ifempty HKCU "Software\Kestrune"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"

  ; The install folder may be one of the user's (typed as an existing folder, or this
  ; uninstaller copied elsewhere): only the names the installer and the program write go,
  ; then the folders they leave empty.
  Delete "$INSTDIR\uninstall.exe"
  Call un.RemoveCatalogueCache
  !insertmacro RemoveEmptyFolder "$INSTDIR"
  !insertmacro RemoveEmptyFolder "$LOCALAPPDATA\${COMPANY}"
SectionEnd
