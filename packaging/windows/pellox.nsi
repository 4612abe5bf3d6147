; The Windows installer of Pellox: per user, no administrator rights.
; scripts/package.sh builds it with
;   makensis -DVERSION=x.y.z -DSTAGE=<folder with pellox.exe, README.txt,
;            LICENSE.txt, pellox.ico> -DOUTFILE=<setup.exe>
;            [-DSIGN_COMMAND=<command that signs the file named after it>]
;            pellox.nsi
; Installs into %LOCALAPPDATA%\Programs\Pellox, adds a Start-menu shortcut,
; registers the uninstaller in the user's "Apps & features" and offers
; Pellox in "Open with" for .lst files without becoming their default
; program. /S installs and uninstalls silently. The installed files keep
; the times they had in STAGE (scripts/package.sh sets them to the commit's
; time), so the installer is the same for every build.

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user

!include MUI2.nsh
!include FileFunc.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Pellox"
!define PROGID "Pellox.lst"
!define PUBLISHER "The Pellox developers"

Name "Pellox ${VERSION}"
!ifdef SIGN_COMMAND
  ; The uninstaller that the installer writes is signed here, at build time.
  !uninstfinalize '${SIGN_COMMAND} "%1"' = 0
!endif
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Pellox"
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1033 "ProductName" "Pellox"
VIAddVersionKey /LANG=1033 "FileDescription" "Pellox Setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Copyright (c) 2026 ${PUBLISHER}. MIT License."

!define MUI_ICON "${STAGE}/pellox.ico"
!define MUI_UNICON "${STAGE}/pellox.ico"
!define MUI_FINISHPAGE_RUN "$INSTDIR\pellox.exe"
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\README.txt"
!insertmacro MUI_PAGE_LICENSE "${STAGE}/LICENSE.txt"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Section "Pellox"
  SetShellVarContext current
  SetOutPath "$INSTDIR"
  File "${STAGE}/pellox.exe"
  File "${STAGE}/README.txt"
  File "${STAGE}/LICENSE.txt"
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  CreateShortcut "$SMPROGRAMS\Pellox.lnk" "$INSTDIR\pellox.exe" "" "$INSTDIR\pellox.exe" 0

  ; "Open with" for list files: a ProgID of our own listed under the
  ; extension's OpenWithProgids, and the application's own entry. The
  ; extension's default program is left alone.
  WriteRegStr HKCU "Software\Classes\${PROGID}" "" "Pellox list"
  WriteRegStr HKCU "Software\Classes\${PROGID}\DefaultIcon" "" "$INSTDIR\pellox.exe,0"
  WriteRegStr HKCU "Software\Classes\${PROGID}\shell\open\command" "" '"$INSTDIR\pellox.exe" "%1"'
  WriteRegStr HKCU "Software\Classes\.lst\OpenWithProgids" "${PROGID}" ""
  WriteRegStr HKCU "Software\Classes\Applications\pellox.exe" "FriendlyAppName" "Pellox"
  WriteRegStr HKCU "Software\Classes\Applications\pellox.exe\DefaultIcon" "" "$INSTDIR\pellox.exe,0"
  WriteRegStr HKCU "Software\Classes\Applications\pellox.exe\SupportedTypes" ".lst" ""
  WriteRegStr HKCU "Software\Classes\Applications\pellox.exe\shell\open\command" "" '"$INSTDIR\pellox.exe" "%1"'

  ; "Apps & features"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Pellox"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\pellox.exe,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; Removes exactly what the installer added. The folder goes only when
; empty: list files kept there are the user's.
Section "Uninstall"
  SetShellVarContext current
  Delete "$INSTDIR\pellox.exe"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\Pellox.lnk"

  DeleteRegValue HKCU "Software\Classes\.lst\OpenWithProgids" "${PROGID}"
  DeleteRegKey /ifempty /ifnovalues HKCU "Software\Classes\.lst\OpenWithProgids"
  DeleteRegKey /ifempty /ifnovalues HKCU "Software\Classes\.lst"
  DeleteRegKey HKCU "Software\Classes\${PROGID}"
  DeleteRegKey HKCU "Software\Classes\Applications\pellox.exe"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
