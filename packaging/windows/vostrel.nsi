; The saver's installer. The build hands over every name in the header NAMES (the product, the
; version, the keys, the files; see cmake/platform_win32.cmake), so none is written here.
; It puts the saver where Windows lists screen savers, the data folder and the report page
; under Program Files, and records that folder in the machine key the saver reads. /S installs
; and uninstalls without asking. Its last page offers Windows' screen saver settings, where the
; user picks the saver.
!include "${NAMES}"
!include "x64.nsh"
!include "MUI2.nsh"
!include "FileFunc.nsh"

Unicode true
Name "${PRODUCT} ${VERSION}"
OutFile "${SETUP}"
InstallDir "$PROGRAMFILES64\${PRODUCT}"
RequestExecutionLevel admin
SetCompressor /SOLID lzma
ManifestDPIAware true

!define UNINSTALLER "uninstall.exe"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
!define MENU_FOLDER "$SMPROGRAMS\${PRODUCT}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_FINISHPAGE_RUN "$SYSDIR\control.exe"
!define MUI_FINISHPAGE_RUN_PARAMETERS "desk.cpl,,@screensaver"
!define MUI_FINISHPAGE_RUN_TEXT "Open the screen saver settings"
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; The saver is a 64-bit program: its keys are in the 64-bit view of the registry and its file in
; the real system folder, not in their 32-bit shadows.
!macro NativeViews
  SetRegView 64
  ${DisableX64FSRedirection}
!macroend

Function .onInit
  !insertmacro NativeViews
FunctionEnd

Function un.onInit
  !insertmacro NativeViews
  SetShellVarContext all
FunctionEnd

Section
  SetShellVarContext all
  SetOutPath "$SYSDIR"
  File "${SAVER}"
  SetOutPath "$INSTDIR"
  File /r "${DATA_DIR}/*"
  WriteRegStr HKLM "${INSTALL_KEY}" "Path" "$INSTDIR"

  CreateDirectory "${MENU_FOLDER}"
  CreateShortCut "${MENU_FOLDER}\${PRODUCT} Settings.lnk" "$SYSDIR\${SAVER_NAME}" "/c"

  WriteUninstaller "$INSTDIR\${UNINSTALLER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$SYSDIR\${SAVER_NAME},0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "URLInfoAbout" "${HOME_PAGE}"
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; Everything the installer made goes; the user's settings (SETTINGS_KEY) stay, as a reinstall
; should find them. The install folder goes only if nothing else is left in it.
Section "Uninstall"
  Delete "$SYSDIR\${SAVER_NAME}"
  RMDir /r "${MENU_FOLDER}"
  !insertmacro RemoveData
  Delete "$INSTDIR\${UNINSTALLER}"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${INSTALL_KEY}"
  DeleteRegKey /ifempty HKLM "${MAKER_KEY}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
