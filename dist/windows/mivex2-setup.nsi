; SPDX-License-Identifier: GPL-3.0-or-later
; The Windows setup program. scripts/package-windows compiles it with makensis and passes:
;   VERSION       the program's version (project() in the top CMakeLists.txt)
;   STAGE         the folder to install: mivex2.exe with its DLLs and Qt plugins, in the installed layout
;   PACKAGE       the folder of what was made for it: the file lists installed-files.nsh and removed-files.nsh,
;                 mivex2.ico and LICENSE.txt
;   DATA_FOLDER   the installed program's data folder, relative to its folder (Installation.h)
;   INSTALLED_KB  the size of what it installs, for Apps and features
;   OUTFILE       the setup program to write
; Per machine (Program Files, for an administrator) or per user (the user's own programs folder, without
; administrator rights); /AllUsers or /CurrentUser pick one on the command line, /S installs silently, /D= names
; the folder. Everything it writes to the registry goes under SHCTX, the hive of the mode chosen.

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
ManifestDPIAware true

!define PRODUCT "Mivex 2"
!define PUBLISHER "Mivex Software"
!define PROGRAM "mivex2.exe"
!define UNINSTALLER "uninstall.exe"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Mivex2"
!define SETTINGS_KEY "Software\Mivex Software\Mivex 2"
; The package class is the program's own (platform/ShellAssociation.cpp): the same keys, whoever writes them.
!define PACKAGE_CLASS "Soubor CFF"
!define PACKAGE_ICON "slozkamivex2.ico"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
BrandingText "${PRODUCT} ${VERSION}"

!define MULTIUSER_EXECUTIONLEVEL Highest
!define MULTIUSER_MUI
!define MULTIUSER_INSTALLMODE_COMMANDLINE
!define MULTIUSER_USE_PROGRAMFILES64
!define MULTIUSER_INSTALLMODE_INSTDIR "${PRODUCT}"
; Where an earlier install went, and in which mode: a reinstall and the uninstaller find them there.
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_KEY "${SETTINGS_KEY}"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_VALUENAME "InstallLocation"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_KEY "${SETTINGS_KEY}"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_VALUENAME "InstallLocation"
!include MultiUser.nsh
!include MUI2.nsh
!include LogicLib.nsh

!define MUI_ICON "${PACKAGE}/mivex2.ico"
!define MUI_UNICON "${PACKAGE}/mivex2.ico"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\${PROGRAM}"

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${PACKAGE}/LICENSE.txt"
!insertmacro MULTIUSER_PAGE_INSTALLMODE
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "Czech"

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=${LANG_CZECH} "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=${LANG_CZECH} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_CZECH} "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_CZECH} "FileDescription" "Instalace programu ${PRODUCT}"
VIAddVersionKey /LANG=${LANG_CZECH} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_CZECH} "LegalCopyright" "GPL-3.0-or-later, ${PUBLISHER}"

Var CommandLineFolder

Function .onInit
  ; /D= sets $INSTDIR before this runs, and the install mode's default folder would replace it.
  StrCpy $CommandLineFolder $INSTDIR
  !insertmacro MULTIUSER_INIT
  ${If} $CommandLineFolder != ""
    StrCpy $INSTDIR $CommandLineFolder
  ${EndIf}
FunctionEnd

Function un.onInit
  !insertmacro MULTIUSER_UNINIT
FunctionEnd

Section "${PRODUCT}" SectionProgram
  SectionIn RO
  !include "${PACKAGE}/installed-files.nsh"
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"

  SetOutPath "$INSTDIR"
  CreateShortCut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\${PROGRAM}" "" "$INSTDIR\${PROGRAM}" 0

  WriteRegStr SHCTX "${SETTINGS_KEY}" "InstallLocation" "$INSTDIR"

  WriteRegStr SHCTX "Software\Classes\.cff" "" "${PACKAGE_CLASS}"
  WriteRegStr SHCTX "Software\Classes\${PACKAGE_CLASS}" "" "Soubor aplikace ${PRODUCT}"
  WriteRegStr SHCTX "Software\Classes\${PACKAGE_CLASS}\Defaulticon" "" "$INSTDIR\${DATA_FOLDER}\${PACKAGE_ICON}"
  WriteRegStr SHCTX "Software\Classes\${PACKAGE_CLASS}\Shell\Open\Command" "" '"$INSTDIR\${PROGRAM}" "%1"'

  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${PROGRAM},0"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}" /$MultiUser.InstallMode'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /$MultiUser.InstallMode /S'
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" ${INSTALLED_KB}
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1

  ; SHCNE_ASSOCCHANGED: Explorer shows packages with their icon at once.
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
SectionEnd

; The association in the hive of SHCTX, only while it still opens packages with this program: another
; program may have taken .cff meanwhile. The program writes the same quoted command as the installer; earlier
; versions of it wrote "<program> %1". (StrCmp compares without case, as Windows names files.)
!macro RemoveAssociation
  ReadRegStr $0 SHCTX "Software\Classes\${PACKAGE_CLASS}\Shell\Open\Command" ""
  ${If} $0 == '"$INSTDIR\${PROGRAM}" "%1"'
  ${OrIf} $0 == '$INSTDIR\${PROGRAM} %1'
  ${OrIf} $0 == ""
    DeleteRegKey SHCTX "Software\Classes\${PACKAGE_CLASS}"
    ReadRegStr $0 SHCTX "Software\Classes\.cff" ""
    ${If} $0 == "${PACKAGE_CLASS}"
      DeleteRegKey SHCTX "Software\Classes\.cff"
    ${EndIf}
  ${EndIf}
!macroend

; What the uninstaller takes away: every file and key the installer wrote, and only those.
Section "un.${PRODUCT}" SectionUnProgram
  SectionIn RO
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  !include "${PACKAGE}/removed-files.nsh"
  Delete "$INSTDIR\${UNINSTALLER}"
  RMDir "$INSTDIR"

  !insertmacro RemoveAssociation
  ; A start of the program by this user without administrator rights may have written the association into
  ; their own classes, over the machine's.
  ${If} $MultiUser.InstallMode == "AllUsers"
    SetShellVarContext current
    !insertmacro RemoveAssociation
    SetShellVarContext all
  ${EndIf}
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"
  DeleteRegKey SHCTX "${SETTINGS_KEY}"
  DeleteRegKey /ifempty SHCTX "Software\Mivex Software"
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
SectionEnd

; The users' data stays unless asked for: the list of users and their keys cannot be made again.
Section /o "un.Seznam uživatelů" SectionUnUserData
  ; %APPDATA% of the user who uninstalls, also when the install was for every user of the machine.
  SetShellVarContext current
  Delete "$APPDATA\Mivex2\data.adb"
  RMDir "$APPDATA\Mivex2"
  ${If} $MultiUser.InstallMode == "AllUsers"
    SetShellVarContext all
  ${EndIf}
SectionEnd

!insertmacro MUI_UNFUNCTION_DESCRIPTION_BEGIN
  !insertmacro MUI_DESCRIPTION_TEXT ${SectionUnProgram} "Program, jeho zástupce v nabídce Start a přiřazení souborů .cff."
  !insertmacro MUI_DESCRIPTION_TEXT ${SectionUnUserData} "Odstraní i seznam uživatelů programu ve vaší složce dat (%APPDATA%\Mivex2\data.adb). Bez zaškrtnutí zůstane pro příští instalaci."
!insertmacro MUI_UNFUNCTION_DESCRIPTION_END
