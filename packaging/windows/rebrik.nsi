; Rebrik's setup program for 64-bit Windows, built by makensis (target windows_packages).
; Installs for the current user, with no administrator rights, into
; %LOCALAPPDATA%\Programs\Rebrik: a Start-menu entry, an optional desktop shortcut, and an
; uninstaller listed in Apps & features. /S installs and uninstalls silently.
; Defined on the command line: VERSION, STAGE (the folder with the files to install), OUTFILE,
; ICON.
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user

!include "MUI2.nsh"
!include "FileFunc.nsh"
!include "files.nsh" ; INSTALL_FILES and REMOVE_FILES, generated with the list of files

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Rebrik"

Name "Rebrik"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Rebrik"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=0 "ProductName" "Rebrik"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "FileDescription" "Rebrik - instalacia"
VIAddVersionKey /LANG=0 "CompanyName" "Rebrik developers"
VIAddVersionKey /LANG=0 "LegalCopyright" "Rebrik developers"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_FINISHPAGE_RUN "$INSTDIR\rebrik.exe"
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!define MUI_UNCONFIRMPAGE_TEXT_TOP "$(KEPT_RESULTS)" ; results and settings: see below
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

; Slovak on a Slovak Windows; every other system language gets the first one, English.
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "Slovak"
LangString GAME_SECTION ${LANG_SLOVAK} "Hra Rebrik"
LangString GAME_SECTION ${LANG_ENGLISH} "The Rebrik game"
LangString DESKTOP_SECTION ${LANG_SLOVAK} "Zástupca na pracovnej ploche"
LangString DESKTOP_SECTION ${LANG_ENGLISH} "Desktop shortcut"

; The shortcuts start the game in its own folder, where its pictures, sounds and questions are.
Section "!$(GAME_SECTION)" SecGame
    SectionIn RO
    SetOutPath "$INSTDIR"
    !insertmacro INSTALL_FILES
    WriteUninstaller "$INSTDIR\uninstall.exe"
    CreateShortCut "$SMPROGRAMS\Rebrik.lnk" "$INSTDIR\rebrik.exe" "" "$INSTDIR\rebrik.exe" 0
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Rebrik"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "Rebrik developers"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\rebrik.exe,0"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "$(DESKTOP_SECTION)" SecDesktop
    SetOutPath "$INSTDIR"
    CreateShortCut "$DESKTOP\Rebrik.lnk" "$INSTDIR\rebrik.exe" "" "$INSTDIR\rebrik.exe" 0
SectionEnd

; Results and settings live in %APPDATA%\Rebrik, which a portable copy shares: the uninstaller
; keeps them and says so, and where they are, on its first page and in its list.
LangString KEPT_RESULTS ${LANG_SLOVAK} "Rebrik sa odinštaluje. Výsledky a nastavenia zostanú \
v priečinku $APPDATA\Rebrik (používa ho aj prenosná verzia); kto ich nechce, zmaže ho."
LangString KEPT_RESULTS ${LANG_ENGLISH} "Rebrik will be uninstalled. Your results and settings \
stay in the folder $APPDATA\Rebrik (a portable copy uses it too); to remove them, delete it."

; Removes what the setup program put there and nothing else: the folder goes only when empty.
Section "Uninstall"
    DetailPrint "$(KEPT_RESULTS)"
    !insertmacro REMOVE_FILES
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    Delete "$SMPROGRAMS\Rebrik.lnk"
    Delete "$DESKTOP\Rebrik.lnk"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
