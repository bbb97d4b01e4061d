# The package as installed: unpacked into a scratch root, its launcher, started elsewhere, finds
# the program and the data folder next to itself in that root, and the game shows its intro.
BUILD=$1
SRC=$2
VERSION=$3
source "$SRC/tests/scripts/window_lib.sh"
root=$WORK/root
dpkg-deb -x "$BUILD/rebrik_${VERSION}_amd64.deb" "$root" || fail "cannot unpack the package"

# The installed checker accepts the installed question files.
"$root/usr/bin/rebrik-check" --werror "$root"/usr/share/games/rebrik/*.txt || fail "rebrik-check"

# The launcher needs only readlink and dirname; xmessage stays out of reach so that a start-up
# message would land in game.out.
mkdir "$WORK/bin" && ln -s /usr/bin/readlink /usr/bin/dirname "$WORK/bin/"
start_x
(cd / && PATH=$WORK/bin exec "$root/usr/games/rebrik" >"$WORK/game.out" 2>&1) &
GAME_PID=$!
wait_for_colour "0,64,128" "$HINT" 20
capture "$SHOT"
[ "$(white_in "120x420+500+30")" -gt 100 ] || fail "no ladder titles on the intro"

# A held Escape ends it with status 0, through the launcher.
hold_key Escape 0.5
wait_game 10
[ $STATUS -eq 0 ] || fail "Escape: status $STATUS, expected 0"
echo "installed package starts: intro shown, Escape ends with status 0"
