# The real game with sound: the library's ALSA driver mixes into ALSA's null output (tapped into
# a file) with the animations' frames of a game with no sound device; --ticho mixes silence.
BUILD=$1
SRC=$2
source "$SRC/tests/scripts/window_lib.sh"
mkdir -p "$WORK/tap" "$WORK/none"
echo "pcm.!default { type file slave.pcm \"null\" file \"$WORK/tap/out.raw\" format \"raw\" }" >"$WORK/tap/.asoundrc"
echo 'pcm.!default { type hw card nosuch }' >"$WORK/none/.asoundrc"
mixed() { tr -d '\000\200' <"$WORK/tap/out.raw" | wc -c; } # bytes that are not 16-bit silence
# Each animation as its frames went: the first copy's size (the whole frame), then its pauses in
# order, run-length coded ("5x200": 200 frames each followed by a 5 ms pause).
frames() {
    awk '$1 == "T" && $2 == -1 { first = ""; runs = ""; last = ""; n = 0; next }
        $1 == "S" && first == "" { first = $2 }
        $1 == "P" { if ($2 == last) n++; else { runs = runs (n ? " " last "x" n : ""); last = $2; n = 1 } }
        $1 == "T" { print first runs " " last "x" n }' "$1"
}
for out in tap none; do
    HOME="$WORK/$out" REBRIK_KEEP_LOG="$WORK/$out.log" bash "$SRC/tools/bench/anim_timing.sh" "$BUILD" "$SRC" 1 \
        >"$WORK/$out.txt" 2>&1 || fail "animations with $out: $(cat "$WORK/$out.txt")"
done
[ "$(mixed)" -gt 10000 ] || fail "the game's sounds were not mixed into the null output"
# Sound changes no frame of the animations nor their order: the level banner and the final
# screen, with sound and with none, frame for frame. (Their durations are the bench's.)
want=$'307200 5x200\n307200 5x101 1x100'
[ "$(frames "$WORK/tap.log")" = "$want" ] && [ "$(frames "$WORK/none.log")" = "$want" ] ||
    fail "frames with sound: $(frames "$WORK/tap.log"); without: $(frames "$WORK/none.log")"

# Muted (--ticho), the intro plays on in silence; unmuted with no sound device it plays too; neither
# lets the sound library say anything on the terminal. The intro's sound would be mixed within 1 s.
start_x && make_data
for out in tap none; do
    HOME="$WORK/$out" start_game $([ $out = tap ] && echo --ticho)
    wait_until "intro" intro_shows && sleep 1 && escape_ends
    [ ! -s "$WORK/game.out" ] || fail "$out: the game said something"
done
[ -s "$WORK/tap/out.raw" ] && [ "$(mixed)" -eq 0 ] || fail "--ticho: sound was mixed"
