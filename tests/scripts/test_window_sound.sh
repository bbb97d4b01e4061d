# The real game with sound in a real window. The library's ALSA driver mixes into ALSA's null
# output (tapped into a file to see what was mixed), and the animations keep the timing they
# have with no sound device at all; started with --ticho it mixes only silence; with or
# without a device, nothing reaches the terminal.
BUILD=$1
SRC=$2
source "$SRC/tests/scripts/window_lib.sh"
mkdir -p "$WORK/tap" "$WORK/none"
echo "pcm.!default { type file slave.pcm \"null\" file \"$WORK/tap/out.raw\" format \"raw\" }" >"$WORK/tap/.asoundrc"
echo 'pcm.!default { type hw card nosuch }' >"$WORK/none/.asoundrc"
# Bytes of the mix that are not silence (16-bit unsigned: 00 80).
mixed() { tr -d '\000\200' <"$WORK/tap/out.raw" | wc -c; }

# One game each, timed: a level banner, a final fade-in and fade-out.
for out in tap none; do
    HOME="$WORK/$out" bash "$SRC/tools/bench/anim_timing.sh" "$BUILD" "$SRC" 1 >"$WORK/$out.txt" 2>&1 ||
        fail "timing with $out: $(cat "$WORK/$out.txt")"
done
[ "$(mixed)" -gt 10000 ] || fail "the game's sounds were not mixed into the null output"
# Each animation's time over its pauses with sound is at most 0.3 above the one without: a
# sound that waited (0.3 s and more) or a poll costing 1.5 ms a frame would pass that.
awk -F'|' '$5 ~ /[0-9]/ { if (FILENAME ~ /tap/) tap[$2] = $5; else none[$2] = $5 }
    END { for (a in tap) if (!(tap[a] <= none[a] + 0.3)) bad = 1; exit bad }' \
    "$WORK/tap.txt" "$WORK/none.txt" || fail "slower with sound: $(cat "$WORK/tap.txt" "$WORK/none.txt")"

# Muted, and with no device: the intro plays on, the game says nothing and ends on Escape.
start_x
make_data
for out in tap none; do
    rm -f "$WORK/tap/out.raw"
    (cd "$WORK/data" && HOME="$WORK/$out" exec "$BUILD/rebrik" --ticho >"$WORK/game.out" 2>&1) &
    GAME_PID=$!
    wait_for_colour "0,64,128" "$HINT" 20
    sleep 1 # the intro's sound would be mixed by now
    hold_key Escape 0.5
    wait_game 10
    [ $STATUS -eq 0 ] && [ ! -s "$WORK/game.out" ] || fail "$out: status $STATUS, said $(cat "$WORK/game.out")"
    [ $out = none ] || { [ -s "$WORK/tap/out.raw" ] && [ "$(mixed)" -eq 0 ]; } || fail "--ticho: sound was mixed"
done
cat "$WORK/tap.txt" "$WORK/none.txt"
echo "window sound test passed"
