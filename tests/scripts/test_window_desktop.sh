# The game's window under openbox on 640x480, 1920x1080 and 3840x2160 screens: size, class, the
# frame enlarged exactly, games by clicks and by keys, the close button, signals at random.
BUILD=$1
SRC=$2
source "$SRC/tests/scripts/window_lib.sh"
make_data
cp "$SRC"/tests/data/game/*.txt "$WORK/data/"

# Starts the game with the given options; GAME_WINDOW is the window the manager lists as Rebrik.
listed() { GAME_WINDOW=$(wmctrl -l | awk '$NF == "Rebrik" { print $1 }') && [ -n "$GAME_WINDOW" ]; }
start_window() {
    GAME_WINDOW=""
    start_game "$@"
    wait_until "a window named Rebrik" listed
}

# The close button (asked through the window manager) ends the game with status 0 within 1 s.
close_window() {
    wmctrl -c Rebrik
    wait_game 1
    [ $STATUS -eq 0 ] || fail "closed at $1: status $STATUS"
}

# The whole window at the intro with the pointer moved to frame point (300, 150), saved as
# $WORK/$SCALE.png; at 2x and 4x it equals the 1x one enlarged pixel by pixel.
frame_at_intro() {
    wait_until "intro" intro_shows
    move_to 290 140 && sleep 0.2 && move_to 300 150 && sleep 0.3
    xwd -id "$GAME_WINDOW" -silent | convert xwd:- "png:$WORK/$SCALE.png"
    [ $SCALE -eq 1 ] && return
    differ=$(convert "$WORK/1.png" -sample $((SCALE * 100))% png:- |
        compare -metric AE "$WORK/$SCALE.png" - null: 2>&1)
    [ "$differ" = 0 ] || fail "at ${SCALE}x $differ pixels differ from the frame enlarged"
}

# Per screen the window's size and class; the frame at 4x and 2x against 1x (on the 4K screen).
for screen in 640x480:1 3840x2160:4 1920x1080:2; do
    [ -n "$XVFB_PID" ] && kill "$XVFB_PID" && wait "$XVFB_PID" 2>/dev/null
    start_x "${screen%:*}"
    openbox >/dev/null 2>&1 &
    sleep 0.5
    SCALE=${screen#*:}
    [ $SCALE -eq 4 ] && SCALE=1 start_window --scale 1 && SCALE=1 frame_at_intro && close_window intro
    start_window
    xwininfo -id "$GAME_WINDOW" | grep -q "geometry $((640 * SCALE))x$((480 * SCALE))+" ||
        fail "window size on ${screen%:*}: $(xwininfo -id "$GAME_WINDOW" | grep geometry)"
    xprop -id "$GAME_WINDOW" WM_CLASS | grep -q '"rebrik", "Rebrik"' || fail "window class"
    [ $SCALE -gt 1 ] && frame_at_intro
    [ $SCALE -eq 2 ] && break
    close_window intro
done

# At 2x: a game by clicks (a right answer, blink and banner, walking away), closed at the next
# question; one by keys likewise, closed during the blink of the next game's first answer.
leave_intro
OLD_QUESTION=$(question_signature)
answer "$(correct_slot)"
wait_until "second question" new_question
click_at 90 435
dismiss_final
leave_intro
close_window question
start_window
press() { hold_key "$1" 0.15; }
for key in space Return; do
    wait_until "intro" intro_shows
    press $key
    wait_until "question" answers_show
    OLD_QUESTION=$(question_signature)
    press "$(echo a b c d | cut -d' ' -f$(($(correct_slot) + 1)))"
    wait_until "confirmation prompt" prompt_shows
    press Return
    [ $key = Return ] && close_window blink && break
    wait_until "second question" new_question
    press k
    wait_until "final screen" final_shows
    press $key
done

# SIGTERM, SIGINT (caught, or ignored at start) and SIGHUP 50 times each, within 1 s of the game's
# handlers being in (SIGHUP caught), six games at once, the pointer moving: death by that signal.
while :; do xdotool mousemove $((RANDOM % 1280)) $((RANDOM % 960)); sleep 0.05; done &
MOVER=$!
run_signalled() {
    (cd "$WORK/data" && exec perl -e '$SIG{INT} = "DEFAULT" if shift; exec @ARGV' "$3" \
        "$BUILD/rebrik" >/dev/null 2>&1) &
    local pid=$! status
    for _ in $(seq 100); do
        [ $((0x$(awk '/SigCgt/ { print $2 }' /proc/$pid/status) & 1)) -eq 1 ] && break
        sleep 0.05
    done
    sleep "0.$(printf %03d $((RANDOM % 1000)))"
    kill -s "$1" $pid
    wait $pid
    status=$?
    [ $status -eq $((128 + $2)) ] || echo "$1: status $status" >>"$WORK/signals.out"
}
for round in $(seq 25); do
    (for case in "TERM 15 1" "INT 2 1" "INT 2 0" "HUP 1 0" "TERM 15 0" "HUP 1 1"; do
        run_signalled $case 2>/dev/null &
    done && wait)
done
kill $MOVER
[ -s "$WORK/signals.out" ] && fail "signals: $(sort "$WORK/signals.out" | uniq -c)"
echo "window desktop test passed"
