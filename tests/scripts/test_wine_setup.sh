# The setup program and the portable zip under Wine, in a fresh prefix: an install page by page
# whose last page starts the game; a silent install of an older version and of this one over it;
# its Start-menu shortcut starts the game; the uninstall key has what Apps & features shows; a
# silent uninstall removes the folder, the shortcuts and the key. The zip plays from a folder
# whose path holds spaces and Slovak letters, started from elsewhere, and logging off ends it in
# order with status 0.
BUILD=$1 SRC=$2 && source "$SRC/tests/scripts/wine_lib.sh"
export LC_ALL=C.UTF-8 # Wine reads the Slovak letters of arguments in the locale's encoding
VERSION=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$WIN_BUILD/CMakeCache.txt")
SETUP=$WIN_BUILD/Rebrik-$VERSION-setup.exe
ZIP=$WIN_BUILD/rebrik-$VERSION-win64.zip
[ -f "$SETUP" ] && [ -f "$ZIP" ] || fail "no $SETUP or $ZIP"
start_desktop
KEY='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Rebrik'
value() { wine reg query "$KEY" /v "$1" 2>/dev/null | tr -d '\r' | awk -v n="$1" '$1 == n { $1 = $2 = ""; print substr($0, 3) }'; }
unix() { winepath -u "$1" 2>/dev/null | tr -d '\r'; }
gone() { ! listed; }

# Installed page by page, as a player does: the first and the last page show the game's stage
# on their left, the others its name in their header; the last page's start option (on by
# default) starts the game.
SETUP_TITLE="Rebrik Setup"
setup_open() { GAME_WINDOW=$(xdotool search --name "^$SETUP_TITLE" | head -n1) && [ -n "$GAME_WINDOW" ]; }
side_shows() { mean_is "150x300+10+20" 'b > 60 && b > 2 * r'; }
header_shows() { mean_is "180x60+455+4" 'r + g + b < 400'; }
# Only the folder page has Install (Alt+I): pressed until the install is done.
install_done() { side_shows || { xdotool key alt+i && false; }; }
wine "$SETUP" & GAME_PID=$!
wait_for "a window named $SETUP_TITLE" setup_open && wmctrl -a "$SETUP_TITLE"
wait_until "the welcome page's picture" side_shows && xdotool key Return
wait_until "the components page's header" header_shows && xdotool key Return
wait_until "the finish page's picture" install_done && xdotool key Return
wait_game && [ $STATUS -eq 0 ] || fail "setup: status $STATUS"
GAME_WINDOW="" && wait_for "a game from the finish page" listed
GAME_PID=$$ wait_until "intro from the finish page" intro_shows
wmctrl -c Rebrik && wait_for "the finish page's game closed" gone
wineserver -k

# An older version first (the same files, set up as 0.9.0), then this one over it, both silent.
makensis -V1 -INPUTCHARSET UTF8 -DVERSION=0.9.0 -DSTAGE="$(ls -d "$WIN_BUILD"/stage/*)" \
    -DOUTFILE="$WORK/old-setup.exe" -DICON="$WIN_BUILD/rebrik.ico" "-X!addincludedir $WIN_BUILD/nsis" \
    "$SRC/packaging/windows/rebrik.nsi" || fail "makensis"
wine "$WORK/old-setup.exe" /S && [ "$(value DisplayVersion)" = 0.9.0 ] || fail "the older version did not install"
wine "$SETUP" /S || fail "setup /S: status $?"
[ "$(value DisplayVersion)" = "$VERSION" ] || fail "DisplayVersion $(value DisplayVersion) after the update"
for v in DisplayName Publisher DisplayIcon EstimatedSize UninstallString QuietUninstallString; do
    [ -n "$(value $v)" ] || fail "the uninstall key has no $v"
done
DIR=$(unix "$(value InstallLocation)")
MENU=$(unix "$(wine cmd /c 'echo %APPDATA%' | tr -d '\r')\Microsoft\Windows\Start Menu\Programs\Rebrik.lnk")
DESKTOP=$(unix "$(wine cmd /c 'echo %USERPROFILE%' | tr -d '\r')\Desktop\Rebrik.lnk")
[ -f "$DIR/rebrik.exe" ] && [ -f "$DIR/lahke.txt" ] && [ -f "$MENU" ] && [ -f "$DESKTOP" ] ||
    fail "installed: $(ls "$DIR" 2>&1), shortcuts $MENU $DESKTOP"

# The Start-menu entry, opened from another folder, shows the intro; the close button ends it.
GAME_WINDOW="" && (cd "$WORK" && wine start /unix "$MENU" >/dev/null 2>&1)
wait_for "a window from the shortcut" listed
SCALE=2
GAME_PID=$$ wait_until "intro from the shortcut" intro_shows
wmctrl -c Rebrik && wait_for "the shortcut's game closed" gone
wineserver -k # its process may still hold rebrik.exe open for a moment

# The quiet uninstall (the uninstaller goes on from a copy of itself in the temporary folder).
[ "$(value QuietUninstallString)" = "\"$(value InstallLocation)\\uninstall.exe\" /S" ] ||
    fail "QuietUninstallString $(value QuietUninstallString)"
# Its key goes last.
wine "$DIR/uninstall.exe" /S
wait_for "the uninstall key removed" eval '! wine reg query "$KEY" >/dev/null 2>&1'
[ ! -e "$DIR" ] || fail "left behind: $(ls "$DIR")"
[ ! -e "$MENU" ] && [ ! -e "$DESKTOP" ] || fail "a shortcut is left"

# The zip in C:\Hry\Môj Rebrík, started from the prefix's own folder at 1x: it finds its files.
PORTABLE=$(unix 'C:\Hry\Môj Rebrík')
mkdir -p "$PORTABLE" && unzip -q "$ZIP" -d "$PORTABLE" || fail "unzip"
mkdir -p "$WORK/data" && wine_program "$(ls "$PORTABLE"/*/rebrik.exe)"
SCALE=1 && start_window --scale 1 && wait_until "intro from the zip" intro_shows
# Without the game's own answer to the session's end, Wine kills it (status 137).
wineboot --end-session >/dev/null 2>&1 &
wait_game && [ $STATUS -eq 0 ] || fail "log-off: status $STATUS"
