# Full screen in real windows under openbox: F11 and --fullscreen make a window the manager lists
# and shows full screen, closed with status 0; F11 back gives the window with its frame exact. On
# 1366x768 the frame fills the height, centred, and a click on each answer lands on it; on
# 1920x1080 it is the 2x frame, exact, and M shows a note over it for a while.
BUILD=$1
SRC=$2
source "$SRC/tests/scripts/window_lib.sh"
make_data && cp "$SRC"/tests/data/game/*.txt "$WORK/data/"
# A screen of size $1 with openbox managing it.
managed() { start_x "$1" && (openbox >/dev/null 2>&1 &) && { timeout 10 sh -c 'until wmctrl -m >/dev/null 2>&1; do sleep 0.1; done' || fail "openbox"; }; }
managed 1366x768

# GAME_WINDOW: the window the manager lists as Rebrik, WxH+X+Y on the screen ($1) and full
# screen or not ($2: 1 or 0) as the manager says.
listed() { GAME_WINDOW=$(wmctrl -l 2>/dev/null | awk '$4 == "Rebrik" { print $1 }') && [ -n "$GAME_WINDOW" ]; }
shown_as() {
    listed && xwininfo -id "$GAME_WINDOW" | grep -q "geometry $1\$" &&
        [ "$(xprop -id "$GAME_WINDOW" _NET_WM_STATE | grep -c _NET_WM_STATE_FULLSCREEN)" = "$2" ]
}
# The pointer at frame point (300, 150) after a move inside the window; GAME_WINDOW's capture.
point() { move_to 290 140 && move_to 300 150; }
same_as() { [ "$(compare -metric AE "$SHOT" "$1" null: 2>&1)" = 0 ]; }
# Closing through the manager ($1: wmctrl -c or Alt+F4) ends the game with status 0.
closes() { $1 && wait_game 10 && [ $STATUS -eq 0 ] || fail "$1: status $STATUS"; }

# The 1x window at the intro; F11: full screen, the frame filling the height between black
# columns, the 1x frame smoothed to 1024x768; F11 again: the window, its frame exact.
start_game && WAITS=150 wait_until "the window" shown_as "640x480+[0-9]*+[0-9]*" 0
wait_until "intro" intro_shows && point && wait_until "a still intro" settled && cp "$SHOT" "$WORK/intro.png"
hold_key F11 0.2 && wait_until "full screen" shown_as 1366x768+0+0 1
fills() {
    xwd -silent -root | convert xwd:- "$WORK/root.png" && SHOT=$WORK/root.png &&
        [ "$(count_colour 0,0,0 171x768+0+0)" = 131328 ] && [ "$(count_colour 0,0,0 171x768+1195+0)" = 131328 ] &&
        convert "$WORK/intro.png" -resize '1024x768!' "$WORK/smooth.png" &&
        convert "$WORK/root.png" -crop 1024x768+171+0 +repage "$WORK/drawn.png" &&
        compare -metric RMSE "$WORK/drawn.png" "$WORK/smooth.png" null: 2>&1 | tr -d '()' | awk '{ exit !($2 < 0.06) }'

}
DRAWN=1024x768+171+0 point && DRAWN=1024x768+171+0 wait_until "the frame filling the height" fills
hold_key F11 0.2 && wait_until "the window again" shown_as "640x480+[0-9]*+[0-9]*" 0
point && wait_until "the intro as before" same_as "$WORK/intro.png"
closes "wmctrl -c Rebrik"

# --fullscreen: each answer clicked is chosen (its button orange), then NIE takes it back.
chosen() { mean_is "$(slot_text "$1")" "$2"; }
GAME_WINDOW="" && start_game --fullscreen && WAITS=150 wait_until "full screen" shown_as 1366x768+0+0 1
export DRAWN=1024x768+171+0
leave_intro
for s in 0 1 2 3; do
    click_slot $s && wait_until "answer $s chosen" chosen $s 'r > b'
    press n 290 182 && wait_until "answer $s taken back" chosen $s 'b > r + 40'
done
closes "xdotool key alt+F4"

# On 1920x1080 full screen is the 2x frame, exact, centred.
unset DRAWN && managed 1920x1080
GAME_WINDOW="" && start_game --fullscreen && WAITS=150 wait_until "full screen" shown_as 1920x1080+0+0 1
export DRAWN=1280x960+320+60
twice() {
    xwd -silent -root | convert xwd:- -crop 1280x960+320+60 +repage "$WORK/2x.png" &&
        [ "$(convert "$WORK/intro.png" -sample 200% png:- | compare -metric AE - "$WORK/2x.png" null: 2>&1)" = 0 ]
}
wait_until "intro" intro_shows && point && wait_until "the 2x frame" twice
# M in full screen shows its note over the frame for about a second; then the frame is as before.
note_shows() { [ "$(white_in 150x40+175+95)" -gt 20 ]; }
hold_key m 0.15 && WAITS=20 wait_until "the note" note_shows && wait_until "the frame without the note" twice
closes "wmctrl -c Rebrik"
echo "test_window_fullscreen: passed"
