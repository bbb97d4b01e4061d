# The Windows build under Wine shows the Linux build's frames: the intro, a question with the
# panel and the final screen at 1x are the same pixels for the same data and input; the close
# button on the final screen ends it with status 0; full screen on 1920x1080 and the switches to
# and from it (below).
BUILD=$1 SRC=$2 && source "$SRC/tests/scripts/wine_lib.sh"
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

# The game's window at "x y w h" (a regular expression $1), without a frame ($2 = 1) or with one.
shown_as() {
    listed && [[ "$(xwininfo -id "$GAME_WINDOW" | awk '/Absolute|Width|Height/ { printf "%d ", $NF }')" =~ ^$1\ $ ]] &&
        [ "$(xprop -id "$GAME_WINDOW" _NET_FRAME_EXTENTS | grep -c '= 0, 0, 0, 0$')" = "$2" ]
}
FULL=("0 0 1920 1080" 1) FRAMED=("[0-9]+ [0-9]+ 1280 960" 0)
# F11 held until the window leaves state "$@" (Wine reports a key held over the switch pressed anew).
left() { ! shown_as "$@"; }
f11_from() { xdotool keydown F11 && wait_for "F11 taken" left "$@" && xdotool keyup F11; }
titled() { wmctrl -l | grep -q " $1\$"; }
# Taps key $1 until the condition "${@:3}" ($2): a press while the game takes the keyboard back
# after a switch may be lost.
tapped() { press_seen key "$1" && "${@:2}"; }
tap_until() { wait_for "$2" tapped "$1" "${@:3}"; }
convert "$WORK/linux-intro.png" -sample 200% -background black -gravity center -extent 1920x1080 "$WORK/full.png"

# Full screen covers the screen without frame or title, the 2x intro centred on black; F11 gives
# the window at the scale the desktop allows, the intro enlarged exactly; F11 again full screen.
start_window --fullscreen && wait_for "full screen" shown_as "${FULL[@]}" && export DRAWN=1280x960+320+60
wait_until "intro" intro_shows && point_at 300 150 && wait_for "the 2x intro centred" enlarges "$WORK/full.png" 1
f11_from "${FULL[@]}" && unset DRAWN && SCALE=2 && wait_for "the framed window" shown_as "${FRAMED[@]}"
point_at 300 150 && wait_for "the 2x window as the 1x intro enlarged" enlarges "$WORK/linux-intro.png"
f11_from "${FRAMED[@]}" && wait_for "full screen again" shown_as "${FULL[@]}" && export DRAWN=1280x960+320+60
# There M takes effect; Alt+Tab reaches xlogo, the game running on behind it, and back, where
# keys and clicks take effect; Alt+F4 ends the game with status 0.
tap_until m "M in full screen" titled "Rebrik - ticho"
xlogo & wait_for "xlogo in front" in_front xlogo && xdotool key alt+Tab && wait_for "the game in front" in_front Rebrik
xdotool key alt+Tab && wait_for "xlogo in front again" in_front xlogo
run_for 100 "the game running behind"
xdotool key alt+Tab && wait_for "the game back in front" in_front Rebrik
tap_until m "M after Alt+Tab" titled Rebrik && click_at 300 150 "question" answers_show
quits xdotool key alt+F4
