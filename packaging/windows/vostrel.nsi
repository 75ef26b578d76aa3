; The saver's installer. The build hands over every name in the header NAMES (the product, the
; version, the keys, the files; see cmake/platform_win32.cmake), so none is written here.
; It puts the saver where Windows lists screen savers, the data folder and the report page
; under Program Files, and records that folder in the machine key the saver reads. /S installs
; and uninstalls without asking. Its last page offers Windows' screen saver settings, where the
; user picks the saver.
;
; An install that cannot write what it must fails, with its box (exit status 2 under /S), and
; writes the folder first: a folder it cannot write leaves nothing in System32 or the registry.
; The uninstaller removes only what the installer wrote, by name.
!include "${NAMES}"
!include "x64.nsh"
!include "MUI2.nsh"

Unicode true
Name "${PRODUCT} ${VERSION}"
OutFile "${SETUP}"
InstallDir "$PROGRAMFILES64\${PRODUCT}"
RequestExecutionLevel admin
SetCompressor /SOLID lzma
ManifestDPIAware true
BrandingText "${PRODUCT} ${VERSION}"
; A file that cannot be written stops the install: skipping it would report success.
AllowSkipFiles off

!define UNINSTALLER "uninstall.exe"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
!define MENU_FOLDER "$SMPROGRAMS\${PRODUCT}"
!define SHORTCUT "${MENU_FOLDER}\${PRODUCT} Settings.lnk"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_WELCOMEFINISHPAGE_BITMAP "${SIDE_PICTURE}"
!define MUI_UNWELCOMEFINISHPAGE_BITMAP "${SIDE_PICTURE}"
!define MUI_HEADERIMAGE
!define MUI_HEADERIMAGE_BITMAP "${HEADER_PICTURE}"
!define MUI_HEADERIMAGE_UNBITMAP "${HEADER_PICTURE}"
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

; The folder page keeps Next off for a folder the saver could not read back from its key.
Function .onVerifyInstDir
  StrLen $0 "$INSTDIR"
  IntCmp $0 ${FOLDER_MAX_LENGTH} +2 +2
    Abort
FunctionEnd

!macro Fail TEXT
  MessageBox MB_ICONSTOP|MB_OK "${TEXT}" /SD IDOK
  Abort "${TEXT}"
!macroend

; Before anything is written anywhere: the folder's name fits the saver's key (counted in
; characters, as StrLen and the saver count them) and the folder takes a file (the
; uninstaller's, which the install writes there anyway).
Function CheckInstallFolder
  StrLen $0 "$INSTDIR"
  IntCmp $0 ${FOLDER_MAX_LENGTH} fits fits
    !insertmacro Fail "The folder's name is longer than ${FOLDER_MAX_LENGTH} characters:$\r$\n$INSTDIR"
  fits:
  ClearErrors
  CreateDirectory "$INSTDIR"
  FileOpen $0 "$INSTDIR\${UNINSTALLER}" w
  IfErrors 0 writable
    !insertmacro Fail "${PRODUCT} cannot be installed in this folder, which cannot be written:$\r$\n$INSTDIR"
  writable:
  FileClose $0
FunctionEnd

Section
  SetShellVarContext all
  Call CheckInstallFolder
  ClearErrors
  !insertmacro InstallData
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"
  IfErrors 0 written
    !insertmacro Fail "The files could not be written to:$\r$\n$INSTDIR"
  written:
  SetOutPath "$SYSDIR"
  File "${SAVER}"
  WriteRegStr HKLM "${INSTALL_KEY}" "Path" "$INSTDIR"

  CreateDirectory "${MENU_FOLDER}"
  ; The settings without an owner (/c alone would give them the window in front).
  CreateShortCut "${SHORTCUT}" "$SYSDIR\${SAVER_NAME}" "/c:0"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$SYSDIR\${SAVER_NAME},0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "URLInfoAbout" "${HOME_PAGE}"
  ; What this section writes, the saver in System32 included, as the compiler measured it;
  ; the folder may hold the user's own files too.
  SectionGetSize 0 $0
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; Everything the installer made goes; the user's settings (SETTINGS_KEY) stay, as a reinstall
; should find them. The install folder goes only if nothing else is left in it. A running saver
; holds its own file and may hold data files open: what cannot be deleted now, and the folders
; that hold it, Windows removes when it next starts, and the uninstaller says so (exit status
; 3010 under /S, Windows' "restart to finish").
Section "Uninstall"
  Delete /REBOOTOK "$SYSDIR\${SAVER_NAME}"
  Delete "${SHORTCUT}"
  RMDir "${MENU_FOLDER}"
  !insertmacro RemoveData
  Delete /REBOOTOK "$INSTDIR\${UNINSTALLER}"
  ; A folder that still holds a file left to the next start goes after it, if empty then.
  IfRebootFlag folders_at_restart
    !insertmacro RemoveDataFolders ""
    RMDir "$INSTDIR"
    Goto folders_done
  folders_at_restart:
    !insertmacro RemoveDataFolders /REBOOTOK
    RMDir /REBOOTOK "$INSTDIR"
  folders_done:
  DeleteRegKey HKLM "${INSTALL_KEY}"
  DeleteRegKey /ifempty HKLM "${MAKER_KEY}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  IfRebootFlag 0 +3
    MessageBox MB_ICONINFORMATION|MB_OK "${PRODUCT} is running, so the files it holds open stay until Windows next starts, which removes them:$\r$\n$SYSDIR\${SAVER_NAME}$\r$\n$INSTDIR" /SD IDOK
    SetErrorLevel 3010
SectionEnd
