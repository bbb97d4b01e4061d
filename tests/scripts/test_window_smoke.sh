# The real game in a real window: the intro shows, a held Escape ends it with status 0, and
# each start-up failure shows its message and ends with status 1.
BUILD=$1
SRC=$2
source "$SRC/tests/scripts/window_lib.sh"

# With no display at all, the game says it cannot start the graphics mode, and reads no
# picture: here each picture is a FIFO with no writer, so opening one would block until the
# timeout ends the game.
mkdir -p "$WORK/fifo"
for image in kvmys.bmp pozadiep.tga zolici.bmp mili.tga exit.bmp; do mkfifo "$WORK/fifo/$image"; done
(cd "$WORK/fifo" && env -u DISPLAY PATH=/usr/sbin:/sbin /usr/bin/timeout 10 "$BUILD/rebrik" >"$WORK/nodisplay.out" 2>&1)
status=$?
[ $status -eq 1 ] || fail "no display: status $status, expected 1"
grep -qx "Nemozem nastartovat graficky mod" "$WORK/nodisplay.out" || fail "no display: message $(cat "$WORK/nodisplay.out")"

start_x

# Each missing picture ends the game with the pictures message and status 1.
for image in kvmys.bmp pozadiep.tga zolici.bmp mili.tga exit.bmp; do
    rm -rf "$WORK/data"
    make_data "$image"
    start_game
    wait_game 20
    [ $STATUS -eq 1 ] || fail "missing $image: status $STATUS, expected 1"
    grep -qx "Nemozem nacitat bitmapy" "$WORK/game.out" || fail "missing $image: message $(cat "$WORK/game.out")"
done

# On the bundled data the intro shows: the hint line in dark blue below the picture and the
# ladder's white titles on the right.
rm -rf "$WORK/data"
make_data
start_game
wait_for_colour "0,64,128" "248x8+223+450" 20
xdotool mousemove 320 240
capture "$WORK/intro.png"
[ "$(count_colour "$WORK/intro.png" "255,255,255" "120x420+500+30")" -gt 100 ] || fail "no ladder titles on the intro"
[ "$(count_colour "$WORK/intro.png" "255,192,0" "120x420+500+30")" -gt 20 ] || fail "no orange safe rows on the intro"

# A held Escape ends the game with status 0.
hold_key Escape 0.5
wait_game 10
[ $STATUS -eq 0 ] || fail "Escape: status $STATUS, expected 0"
echo "window smoke test passed"
