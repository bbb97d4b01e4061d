# The real game with sound: the library's ALSA driver mixes into ALSA's null output (tapped into
# a file) with the animations' frames of a game with no sound device; --ticho mixes silence.
BUILD=$1 SRC=$2 && source "$SRC/tests/scripts/window_lib.sh"
mkdir -p "$WORK/tap" "$WORK/none"
echo "pcm.!default { type file slave.pcm \"null\" file \"$WORK/tap/out.raw\" format \"raw\" }" >"$WORK/tap/.asoundrc"
echo 'pcm.!default { type hw card nosuch }' >"$WORK/none/.asoundrc"
mixed() { tr -d '\000\200' <"$WORK/tap/out.raw" | wc -c; } # bytes that are not 16-bit silence
# Each animation as its frames reached the window: the size of the first copy (the whole frame,
# in pixels), then how many copies of the 250x50 title box followed (one a later frame); whether
# they are those of a level banner, then a final screen (below).
frames() {
    awk '$1 == "T" && $2 == -1 { first = ""; n = 0; next }
        $1 == "B" && first == "" { first = $2; next }
        $1 == "B" && $2 == 250 * 50 { n++ }
        $1 == "T" { k++; print first, n; ok += first == 307200 && (k == 1 ? n > 0 && n <= 199 : n >= 2) }
        END { exit !(ok == 2 && k == 2) }' "$1"
}
for out in tap none; do
    HOME="$WORK/$out" REBRIK_KEEP_LOG="$WORK/$out.log" bash "$SRC/tools/bench/anim_timing.sh" "$BUILD" "$SRC" 1 1 \
        >"$WORK/$out.txt" 2>&1 || fail "animations with $out: $(cat "$WORK/$out.txt")"
done
[ "$(mixed)" -gt 10000 ] || fail "the game's sounds were not mixed into the null output"
# Sound changes neither the animations' frames nor their order: the level banner's frames (199
# after the first, fewer where a frame outlasts its pause and steps are left out), and the final
# screen's fade-in, still and fade-out frames, the first of each whole, with sound and with none.
frames "$WORK/tap.log.1x" >"$WORK/tap.frames" && frames "$WORK/none.log.1x" >"$WORK/none.frames" ||
    fail "frames with sound: $(cat "$WORK/tap.frames"); without: $(cat "$WORK/none.frames")"

# Muted (--ticho), the intro plays on in silence under the title "Rebrik - ticho"; unmuted with
# no sound device it plays too; neither lets the sound library say anything on the terminal. The
# intro's sound would be mixed in the output's first second after the intro shows (a second at
# 48 kHz, 16-bit stereo: 192000 bytes, no fewer at a lower rate).
start_x && make_data
tapped() { stat -c %s "$WORK/tap/out.raw" 2>/dev/null || echo 0; }
for out in tap none; do
    HOME="$WORK/$out" start_game $([ $out = tap ] && echo --ticho)
    wait_until "intro" intro_shows && size=$(($(tapped) + 192000))
    [ $out = none ] || wait_for "a second mixed" eval '(($(tapped) >= size))'
    [ $out = none ] || xdotool search --name '^Rebrik - ticho$' >/dev/null || fail "--ticho: not in the title"
    escape_ends
    [ ! -s "$WORK/game.out" ] || fail "$out: the game said something"
done
[ -s "$WORK/tap/out.raw" ] && [ "$(mixed)" -eq 0 ] || fail "--ticho: sound was mixed"
