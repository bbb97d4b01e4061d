# The Windows build under Wine shows the Linux build's frames: the intro, a question with the
# panel and the final screen at 1x are the same pixels for the same data and input; the close
# button on the final screen ends it with status 0; on 1920x1080 it opens at 2x, the 1x intro
# enlarged exactly, and Alt+F4 ends it with status 0.
BUILD=$1
SRC=$2
source "$SRC/tests/scripts/wine_lib.sh"
make_data
# Banks of one question six times over, its four answers alike: every random draw shows the
# same board.
for bank in lahke stredne tazke; do
    (echo 6 && for _ in 1 2 3 4 5 6; do printf 'OTAZKA PRE OBE\tSTAVBY HRY\nROVNAKA\nROVNAKA\nROVNAKA\nROVNAKA\n'; done) >"$WORK/data/$bank.txt"
done
start_desktop
shoot() { wait_until "$2" "$3" && wait_until "a still $2" settled && cp "$SHOT" "$WORK/$1-$2.png"; }

# Starts build $1 (linux or windows) at 1x, the pointer at (300, 150) in each of the three frames.
frames() {
    echo "the $1 build's frames"
    start_window --scale 1
    move_to 290 140 && move_to 300 150 && shoot "$1" intro intro_shows
    click_at 300 150 && shoot "$1" question answers_show
    hold_key k 0.15 && shoot "$1" final final_shows
}
wine_program && frames windows
wmctrl -c Rebrik && wait_game 20 && [ $STATUS -eq 0 ] || fail "close button: status $STATUS"
REBRIK_BIN="" frames linux && xdotool key alt+F4 && wait_game 20 && [ $STATUS -eq 0 ] || fail "Alt+F4: status $STATUS"
for f in intro question final; do
    differ=$(compare -metric AE "$WORK/linux-$f.png" "$WORK/windows-$f.png" null: 2>&1)
    [ "$differ" = 0 ] || fail "$f: $differ pixels differ from the Linux build's"
done

# The scale the desktop allows, the whole window captured as it is.
wine_program && start_window && SCALE=2
move_to 290 140 && move_to 300 150 && shoot at2x intro intro_shows
xwd -silent -id "$GAME_WINDOW" | convert xwd:- "png:$WORK/windows-2x.png"
differ=$(convert "$WORK/windows-intro.png" -sample 200% png:- | compare -metric AE - "$WORK/windows-2x.png" null: 2>&1)
[ "$differ" = 0 ] || fail "2x: $differ pixels differ from the 1x intro enlarged"
xdotool key alt+F4 && wait_game 20 && [ $STATUS -eq 0 ] || fail "Alt+F4: status $STATUS"
