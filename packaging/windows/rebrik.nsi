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
VIAddVersionKey /LANG=0 "FileDescription" "Rebrik - inštalácia"
VIAddVersionKey /LANG=0 "CompanyName" "Rebrik developers"
VIAddVersionKey /LANG=0 "LegalCopyright" "Rebrik developers"

; The game's own look: its stage and title on the first and last pages, its name banner in the
; header of the others (both made by rebrik-artgen --setup), and its version where NSIS would
; name itself.
!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_WELCOMEFINISHPAGE_BITMAP "setup-side.bmp"
!define MUI_UNWELCOMEFINISHPAGE_BITMAP "setup-side.bmp"
!define MUI_HEADERIMAGE
!define MUI_HEADERIMAGE_RIGHT
!define MUI_HEADERIMAGE_BITMAP "setup-header.bmp"
!define MUI_HEADERIMAGE_UNBITMAP "setup-header.bmp"
BrandingText "Rebrik ${VERSION}"

; Our own words on the first and last pages: nothing to close, no restart, and the game a click
; away at the end.
!define MUI_WELCOMEPAGE_TITLE "$(WELCOME_TITLE)"
!define MUI_WELCOMEPAGE_TEXT "$(WELCOME_TEXT)"
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_TITLE "$(FINISH_TITLE)"
!define MUI_FINISHPAGE_TEXT "$(FINISH_TEXT)"
!define MUI_FINISHPAGE_RUN "$INSTDIR\rebrik.exe"
!define MUI_FINISHPAGE_RUN_TEXT "$(RUN_GAME)"
!define MUI_FINISHPAGE_NOREBOOTSUPPORT
!insertmacro MUI_PAGE_FINISH
!define MUI_UNCONFIRMPAGE_TEXT_TOP "$(KEPT_RESULTS)" ; results and settings: see below
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

; Slovak on a Slovak Windows; every other system language gets the first one, English.
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "Slovak"
LangString WELCOME_TITLE ${LANG_SLOVAK} "Rebrik ${VERSION}"
LangString WELCOME_TITLE ${LANG_ENGLISH} "Rebrik ${VERSION}"
LangString WELCOME_TEXT ${LANG_SLOVAK} "Vedomostná hra po slovensky: po pätnástich priečkach \
rebríka titulov stúpaš odpoveďami na otázky, myšou alebo klávesmi.$\r$\n$\r$\nHra sa \
nainštaluje len pre teba, bez práv správcu.$\r$\n$\r$\n$_CLICK"
LangString WELCOME_TEXT ${LANG_ENGLISH} "A Slovak quiz game: climb the fifteen-row ladder of \
titles by answering questions, with the mouse or the keys.$\r$\n$\r$\nThe game is installed \
for you alone, with no administrator rights.$\r$\n$\r$\n$_CLICK"
LangString FINISH_TITLE ${LANG_SLOVAK} "Rebrik je nainštalovaný"
LangString FINISH_TITLE ${LANG_ENGLISH} "Rebrik is installed"
LangString FINISH_TEXT ${LANG_SLOVAK} "Hru nájdeš v ponuke Štart pod menom Rebrik.$\r$\n$\r$\n\
Podržaný Esc ju vypne."
LangString FINISH_TEXT ${LANG_ENGLISH} "You will find the game in the Start menu as Rebrik.\
$\r$\n$\r$\nHold Esc to quit it."
LangString RUN_GAME ${LANG_SLOVAK} "Spustiť Rebrik"
LangString RUN_GAME ${LANG_ENGLISH} "Start Rebrik"
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
