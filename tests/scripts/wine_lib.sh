# Shared steps of the tests that run the Windows build under Wine, on top of window_lib.sh: the
# Windows build folder, a Wine prefix of the test's own, the game started through Wine. Sourced
# with BUILD and SRC set; a test without the Windows build (./run.sh windows) is skipped.
source "$SRC/tests/scripts/window_lib.sh"
WIN_BUILD=${REBRIK_WIN_BUILD:-$SRC/build-win}
[ -f "$WIN_BUILD/rebrik.exe" ] || { echo "no Windows build in $WIN_BUILD: ./run.sh windows makes it"; exit 77; }
# Wine's server keeps its socket in a folder of the temporary folder: this one goes with $WORK.
export WINEPREFIX=$WORK/prefix WINEDEBUG=-all TMPDIR=$WORK/tmp && mkdir "$TMPDIR"
# A question folder named with Slovak letters (Č outside the ANSI code page) and a space, which
# reach Wine as UTF-8 whatever the caller's locale.
export LC_ALL=C.UTF-8 KVIZ="Kvíz Čadca"
# No sound driver (a machine without a sound device) and no .NET or browser engine to install.
export WINEDLLOVERRIDES="mscoree,mshtml,winealsa.drv,winepulse.drv,wineoss.drv="
WINE=$(command -v wine)
cleanup() { kill -9 $GAME_PID 2>/dev/null; wineserver -k 2>/dev/null; kill $XVFB_PID 2>/dev/null; wait 2>/dev/null; rm -rf "$WORK"; }

# A 1920x1080 screen with a window manager, and the prefix made on it; the first start of Wine
# there takes its time.
start_desktop() { start_x 1920x1080 && start_openbox && { wineboot -i >/dev/null 2>&1 || fail "wineboot"; }; }
start_window() { GAME_WINDOW="" && start_game "$@" && wait_until "a window named Rebrik" listed; }

# The program $1 (default: the game) under Wine for start_game, through a script of ours.
wine_program() {
    printf '#!/bin/sh\nexec %s "%s" "$@"\n' "$WINE" "${1:-$WIN_BUILD/rebrik.exe}" >"$WORK/through-wine"
    chmod +x "$WORK/through-wine" && REBRIK_BIN=$WORK/through-wine
}

# Waits until the game's standard output has line $1 of its message box (CRLF, as Windows
# writes), then answers the box with Enter, again while the box may not have the focus yet; the
# game must then end with status 1.
said() { tr -d '\r' <"$WORK/game.out" | grep -qxF "$1"; }
answered() { xdotool key Return && timeout 1 tail -s 0.1 --pid="$GAME_PID" -f /dev/null; }
message_ends() {
    wait_for "message \"$1\"" said "$1" && wait_for "end after the message" answered
    wait_game && [ $STATUS -eq 1 ] || fail "after \"$1\": status $STATUS"
}
