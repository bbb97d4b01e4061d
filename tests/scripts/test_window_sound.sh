# The real game with sound: the library's ALSA driver mixes into ALSA's null output (tapped into
# a file) with the animations' timing of a game with no sound device; --ticho mixes silence.
BUILD=$1
SRC=$2
source "$SRC/tests/scripts/window_lib.sh"
mkdir -p "$WORK/tap" "$WORK/none"
echo "pcm.!default { type file slave.pcm \"null\" file \"$WORK/tap/out.raw\" format \"raw\" }" >"$WORK/tap/.asoundrc"
echo 'pcm.!default { type hw card nosuch }' >"$WORK/none/.asoundrc"
mixed() { tr -d '\000\200' <"$WORK/tap/out.raw" | wc -c; } # bytes that are not 16-bit silence
for out in tap none; do
    HOME="$WORK/$out" bash "$SRC/tools/bench/anim_timing.sh" "$BUILD" "$SRC" 1 1 >"$WORK/$out.txt" 2>&1 ||
        fail "timing with $out: $(cat "$WORK/$out.txt")"
done
[ "$(mixed)" -gt 10000 ] || fail "the game's sounds were not mixed into the null output"
# Each animation's time over its pauses at most 0.3 above the silent game's (a 0.3 s wait would pass).
awk -F'|' '$6 ~ /[0-9]/ { if (FILENAME ~ /tap/) tap[$3] = $6; else none[$3] = $6 }
    END { for (a in tap) if (!(tap[a] <= none[a] + 0.3)) bad = 1; exit bad }' \
    "$WORK/tap.txt" "$WORK/none.txt" || fail "slower with sound: $(cat "$WORK/tap.txt" "$WORK/none.txt")"

# Muted (--ticho), the intro plays on in silence under the title "Rebrik - ticho"; unmuted with
# no sound device it plays too; neither lets the sound library say anything on the terminal. The
# intro's sound would be mixed within 1 s.
start_x && make_data
for out in tap none; do
    HOME="$WORK/$out" start_game $([ $out = tap ] && echo --ticho)
    wait_until "intro" intro_shows && sleep 1
    [ $out = none ] || xdotool search --name '^Rebrik - ticho$' >/dev/null || fail "--ticho: not in the title"
    escape_ends
    [ ! -s "$WORK/game.out" ] || fail "$out: the game said something"
done
[ -s "$WORK/tap/out.raw" ] && [ "$(mixed)" -eq 0 ] || fail "--ticho: sound was mixed"
