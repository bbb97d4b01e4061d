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
# The Linux build's frame $1 once still; the Windows build's once it is the same as that one.
shoot() {
    [ "$BUILT" = linux ] && wait_until "a still $1" settled && cp "$SHOT" "$WORK/linux-$1.png"
    [ "$BUILT" = linux ] || wait_until "$1 as the Linux build's" same_as "$WORK/linux-$1.png"
}

# Starts build BUILT (linux or windows) at 1x, the pointer at (300, 150) in each of the three frames.
frames() {
    start_window --scale 1
    wait_until "intro" intro_shows && point_at 300 150 && shoot intro
    click_at 300 150 "question" answers_show && shoot question
    hold_until k "final screen" final_shows && shoot final
}
BUILT=linux frames && quits xdotool key alt+F4
wine_program && BUILT=windows frames && quits wmctrl -c Rebrik

# The scale the desktop allows, the whole window captured as it is.
start_window && SCALE=2 && wait_until "intro" intro_shows && point_at 300 150
wait_for "the 2x window as the 1x intro enlarged" enlarges "$WORK/linux-intro.png"
quits xdotool key alt+F4
