; The Windows installer: per user, without administrator rights, a 64-bit
; installer (Debian's NSIS has the amd64 stubs; the 32-bit default would not
; run on a 64-bit-only system), from the static programs of the Windows
; build. scripts/package-windows.sh passes
;   VERSION   the CMake project version (1.31), VERSION4 it as a.b.c.d,
;   STAGE     a folder with the programs, README.txt and LICENSE.txt,
;   ICON      the program's icon, OUTFILE the installer to write,

Unicode true
Target amd64-unicode
RequestExecutionLevel user
ManifestDPIAware true
SetCompressor /SOLID lzma

!include MUI2.nsh
!include FileFunc.nsh

!define APP "Velmora"
!define PUBLISHER "The Velmora developers"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Velmora"
; The main window's class: while one exists, Velmora is running.
!define WINDOW_CLASS "VelmoraMainWindow"

Name "${APP}"
Caption "${APP} ${VERSION} Setup"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Velmora"
; An update goes where the last installation went.
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${APP} ${VERSION}"

VIProductVersion "${VERSION4}"
VIFileVersion "${VERSION4}"
VIAddVersionKey "ProductName" "${APP}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "FileDescription" "${APP} ${VERSION} Setup"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "LegalCopyright" "Copyright (c) 2026 ${PUBLISHER}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "Start ${APP}"
!define MUI_FINISHPAGE_RUN_FUNCTION StartVelmora
!insertmacro MUI_PAGE_LICENSE "${STAGE}/LICENSE.txt"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
; What the uninstaller leaves, and why: the working folder is the user's.
!define MUI_FINISHPAGE_TEXT "${APP} has been removed from your computer.$\r$\n$\r$\nIts settings (Config.Ini) and anything saved in $APPDATA\Velmora stay there. Delete that folder yourself when you no longer need them."
!insertmacro MUI_UNPAGE_FINISH
!insertmacro MUI_LANGUAGE "English"

; Jumps to `label` when `file` exists and cannot be opened for writing, as
; the file of a running program cannot (velmora-capture.exe has no window).
!macro JumpIfInUse file label
  IfFileExists "${file}" 0 +5
  ClearErrors
  FileOpen $1 "${file}" a
  IfErrors ${label}
  FileClose $1
!macroend

; Velmora running (its window, or a program in the installation folder)
; holds files that must be replaced or removed: say so and wait until it is
; closed. A silent run changes nothing and ends with exit code 2.
!macro WaitTillClosedFunction un
  Function ${un}WaitTillClosed
    check:
      FindWindow $0 "${WINDOW_CLASS}"
      StrCmp $0 0 0 running
      !insertmacro JumpIfInUse "$INSTDIR\velmora.exe" running
      !insertmacro JumpIfInUse "$INSTDIR\velmora-capture.exe" running
      !insertmacro JumpIfInUse "$INSTDIR\velmora-bode.exe" running
      Return
    running:
      IfSilent give_up
      MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
        "${APP} is running. Close it, then choose Retry." IDRETRY check
    give_up:
      SetErrorLevel 2
      Quit
  FunctionEnd
!macroend
!insertmacro WaitTillClosedFunction ""
!insertmacro WaitTillClosedFunction "un."

; Velmora keeps Config.Ini in the folder it starts in, and the program
; folder belongs to the installer: it starts in a folder of the user's,
; which updates and the uninstaller leave alone.
!define WORK_DIR "$APPDATA\Velmora"

Function StartVelmora
  SetOutPath "${WORK_DIR}"
  Exec '"$INSTDIR\velmora.exe"'
FunctionEnd

Function .onInit
  SetShellVarContext current
  Call WaitTillClosed
FunctionEnd

Function un.onInit
  SetShellVarContext current
  Call un.WaitTillClosed
FunctionEnd

Section "Velmora"
  Call WaitTillClosed  ; started again while the pages were up
  SetOutPath "$INSTDIR"
  File "${STAGE}/velmora.exe"
  File "${STAGE}/velmora-capture.exe"
  File "${STAGE}/velmora-bode.exe"
  File "${STAGE}/README.txt"
  File "${STAGE}/LICENSE.txt"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  ; A shortcut's working folder is the output folder when it is made.
  CreateDirectory "${WORK_DIR}"
  SetOutPath "${WORK_DIR}"
  CreateShortCut "$SMPROGRAMS\Velmora.lnk" "$INSTDIR\velmora.exe" "" "$INSTDIR\velmora.exe" 0 \
    SW_SHOWNORMAL "" "Oscilloscope and signal generator"
  ; A command prompt with the programs on PATH, as instrument tools have.
  CreateShortCut "$SMPROGRAMS\Velmora capture prompt.lnk" "$SYSDIR\cmd.exe" \
    '/k set "PATH=$INSTDIR;%PATH%" && velmora-capture --help' "$INSTDIR\velmora.exe" 0 \
    SW_SHOWNORMAL "" "A command prompt for velmora-capture"

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${APP}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\velmora.exe,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "URLInfoAbout" "https://velmora.org/"
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; Removes what the installer made, and the Config.Ini that velmora.exe
; writes beside itself when started from its own folder (a double click
; there). The folders go only when they are empty, never with what else is
; in them: the user may have chosen a folder of their own. The working
; folder is the user's: its Config.Ini (the Start menu's) stays.
Section "Uninstall"
  Delete "$SMPROGRAMS\Velmora.lnk"
  Delete "$SMPROGRAMS\Velmora capture prompt.lnk"
  Delete "$INSTDIR\velmora.exe"
  Delete "$INSTDIR\velmora-capture.exe"
  Delete "$INSTDIR\velmora-bode.exe"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\uninstall.exe"
  Delete "$INSTDIR\Config.Ini"
  RMDir "$INSTDIR"
  RMDir "${WORK_DIR}"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
