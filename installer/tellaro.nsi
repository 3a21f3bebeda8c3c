; The Tellaro installer (makensis; installer/CMakeLists.txt passes the paths below).
;
; A machine-wide installation: it runs elevated and touches only what administrators alone
; may change.
;  - tellaro.scr and randomizer.exe go into the system folder, where Windows lists
;    screensavers. The launcher is shared by the collection's members: each member's first
;    installation counts itself in the system's list of shared files (SharedDLLs), and the
;    launcher goes with the last count.
;  - The uninstaller goes into a fixed folder, $PROGRAMFILES64\Kestrune\Tellaro (/D= is not
;    taken: a folder of someone's choosing may be one that programs of a user can change), and
;    its entry into HKLM's list of installed programs.
; Nothing of a user's own is read or written here (no HKCU, no per-user folder): each user's
; registration, folder and catalogue downloads come from the installed programs when they
; first start for that user. What is done for the user at the desktop, the desktop's shell
; starts as that user, without elevation (TellaroSetup::StartAsDesktopUser, setup_plugin.cpp):
;  - "tellaro.scr /makecurrent" for the "current screensaver" component;
;  - "tellaro.scr /c" from the finish page;
;  - "tellaro.scr /unregister" at the uninstallation, before the programs go: the user's
;    previous screensaver comes back, the user's registration and downloads go.
; Command line (besides /S): /KEEPCURRENT leaves the user's current screensaver alone (the
; "current screensaver" component is on by default for a first installation; over an
; installation it is off, so that a reinstallation keeps the user's choice).
;
; Expected defines: SOURCE_DIR, SCR_FILE, RANDOMIZER_FILE, PLUGIN_DIR, OUT_FILE.

Unicode true
Target amd64-unicode
; A 64-bit installer runs as a 64-bit process: $SYSDIR is the 64-bit system folder and no
; file-system redirection applies, so tellaro.scr lands where 64-bit Windows looks for it.
!if ${NSIS_PTR_SIZE} != 8
  !error "the installer must be built for amd64"
!endif

!addplugindir /amd64-unicode "${PLUGIN_DIR}"

!include LogicLib.nsh
!include FileFunc.nsh
!include MUI2.nsh

!searchparse /file "${SOURCE_DIR}/base/product.h" '#define TELLARO_VERSION_TEXT "' VERSION '"'

!define COMPANY "Kestrune"
!define TITLE "Tellaro"
!define SHARED_KEY "Software\Microsoft\Windows\CurrentVersion\SharedDLLs"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Kestrune Tellaro"
!define WEB "http://www.kestrune.example/"

Name "${TITLE} ${VERSION}"
Caption "${TITLE} ${VERSION} Setup"
OutFile "${OUT_FILE}"
InstallDir "$PROGRAMFILES64\${COMPANY}\${TITLE}"
; The system folder, Program Files and HKLM are written to.
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
!define MUI_WELCOMEPAGE_TEXT "This installs ${TITLE} ${VERSION}, a 3D screensaver of the Halcyonix 3D collection: a planet turning in space with its clouds, a small moon, thousands of stars and a sun with lens flares.$\r$\n$\r$\nThe screensaver goes into the Windows system folder, for every user of this computer; each user's settings and downloads stay that user's own.$\r$\n$\r$\n$_CLICK"
; The settings open as the user at the desktop, never with the installer's rights. There is no
; web link: the page would open it in a browser with those rights.
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "Open the screensaver's settings"
!define MUI_FINISHPAGE_RUN_FUNCTION OpenSettingsAsDesktopUser
!define MUI_FINISHPAGE_RUN_NOTCHECKED

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Var Reinstalling  ; "1" when this program's entry is there already

Section "${TITLE} screensaver (required)" SecProgram
  SectionIn RO
  ; A launcher found without a count was put there by an installer that keeps none: it counts once.
  ${If} $Reinstalling != 1
    ClearErrors
    ReadRegDWORD $0 HKLM "${SHARED_KEY}" "$SYSDIR\randomizer.exe"
    ${If} ${Errors}
      StrCpy $0 0
      ${IfThen} ${FileExists} "$SYSDIR\randomizer.exe" ${|} StrCpy $0 1 ${|}
    ${EndIf}
    IntOp $0 $0 + 1
    WriteRegDWORD HKLM "${SHARED_KEY}" "$SYSDIR\randomizer.exe" $0
  ${EndIf}

  SetOutPath "$SYSDIR"
  File "/oname=tellaro.scr" "${SCR_FILE}"
  File "/oname=randomizer.exe" "${RANDOMIZER_FILE}"

  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${TITLE} 3D Screensaver"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${COMPANY}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "URLInfoAbout" "${WEB}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "HelpLink" "mailto:support@kestrune.example"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$SYSDIR\tellaro.scr,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$SYSDIR" "/M=tellaro.scr /S=0K /G=0" $1 $2 $3
  ${GetSize} "$SYSDIR" "/M=randomizer.exe /S=0K /G=0" $4 $2 $3
  IntOp $1 $1 + $4
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $1
SectionEnd

; The installed program makes itself current for the user at the desktop and remembers, in
; that user's hive, the screensaver it replaces.
Section "Make ${TITLE} my current screensaver" SecCurrent
  TellaroSetup::StartAsDesktopUser '"$SYSDIR\tellaro.scr" /makecurrent' 30000
  Pop $0
  ${If} $0 != "ok"
    DetailPrint "${TITLE} was not made the current screensaver: $0"
  ${EndIf}
SectionEnd

Function OpenSettingsAsDesktopUser
  TellaroSetup::StartAsDesktopUser '"$SYSDIR\tellaro.scr" /c' 0
  Pop $0
  ${If} $0 != "ok"
    MessageBox MB_OK|MB_ICONINFORMATION "The settings could not be opened here ($0). Choose ${TITLE} in the screen saver settings of Windows and click Settings."
  ${EndIf}
FunctionEnd

!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
  !insertmacro MUI_DESCRIPTION_TEXT ${SecProgram} "The screensaver and the collection's random launcher, in the Windows system folder."
  !insertmacro MUI_DESCRIPTION_TEXT ${SecCurrent} "Choose ${TITLE} as the screensaver Windows starts when the computer is idle, for you; uninstalling puts the present one back."
!insertmacro MUI_FUNCTION_DESCRIPTION_END

Function .onInit
  StrCpy $INSTDIR "$PROGRAMFILES64\${COMPANY}\${TITLE}"
  ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "UninstallString"
  ${If} $0 != ""
    StrCpy $Reinstalling 1
  ${EndIf}
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/KEEPCURRENT" $1
  ${IfNot} ${Errors}
    !insertmacro UnselectSection ${SecCurrent}
  ${EndIf}
  ; Over an installation the current screensaver is the user's choice.
  ${If} $Reinstalling == 1
    !insertmacro UnselectSection ${SecCurrent}
  ${EndIf}
FunctionEnd

Function un.onInit
  ; Only what the installation made goes, wherever a copy of this uninstaller runs from.
  StrCpy $INSTDIR "$PROGRAMFILES64\${COMPANY}\${TITLE}"
FunctionEnd

; Removes a file or an empty folder that the installation made, through no link anywhere along
; its path (link_safe_removal.h). A program in use goes at the next restart; it lies in a
; folder only administrators can change, so its path leads to the same file then.
!macro RemoveMade KIND PATH
  TellaroSetup::Remove${KIND} "${PATH}"
  Pop $0
  !if ${KIND} == File
    ${If} $0 == "in use"
      Delete /REBOOTOK "${PATH}"
      StrCpy $0 "ok"
    ${EndIf}
  !endif
  ${If} $0 != "ok"
  ${AndIf} $0 != "missing"
    DetailPrint "Left as it is ($0): ${PATH}"
  ${EndIf}
!macroend

; The user's settings stay: they are the user's choices, a later install finds them again.
; Other accounts keep their registration too (their hives are not the uninstaller's to
; open): the launcher, where it stays, tells them the screensaver is gone.
Section "Uninstall"
  ; While tellaro.scr is still there, it hands the user at the desktop back the screensaver it
  ; replaced and removes that user's registration and downloads, as that user.
  TellaroSetup::StartAsDesktopUser '"$SYSDIR\tellaro.scr" /unregister' 30000
  Pop $0
  ${If} $0 != "ok"
    DetailPrint "Tellaro stays registered and chosen for the user at the desktop: $0"
  ${EndIf}

  !insertmacro RemoveMade File "$SYSDIR\tellaro.scr"
  ; The shared launcher goes with the last count.
  ClearErrors
  ReadRegDWORD $1 HKLM "${SHARED_KEY}" "$SYSDIR\randomizer.exe"
  ${IfThen} ${Errors} ${|} StrCpy $1 1 ${|}
  IntOp $1 $1 - 1
  ${If} $1 > 0
    WriteRegDWORD HKLM "${SHARED_KEY}" "$SYSDIR\randomizer.exe" $1
  ${Else}
    DeleteRegValue HKLM "${SHARED_KEY}" "$SYSDIR\randomizer.exe"
    !insertmacro RemoveMade File "$SYSDIR\randomizer.exe"
  ${EndIf}

  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  !insertmacro RemoveMade File "$INSTDIR\uninstall.exe"
  !insertmacro RemoveMade EmptyFolder "$INSTDIR"
  !insertmacro RemoveMade EmptyFolder "$PROGRAMFILES64\${COMPANY}"
SectionEnd
