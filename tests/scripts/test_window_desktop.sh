# The game as a desktop window under a window manager (openbox) on screens of 640x480,
# 1920x1080 and 3840x2160: its size and name, the frame enlarged exactly, a game by clicks and
# one by keys, the close button, and signals at random moments.
BUILD=$1
SRC=$2
source "$SRC/tests/scripts/window_lib.sh"
make_data
cp "$SRC"/tests/data/game/*.txt "$WORK/data/"

# Starts the game with the given options and sets GAME_WINDOW once the manager lists it.
start_window() {
    (cd "$WORK/data" && PATH=/usr/sbin:/sbin exec "$BUILD/rebrik" "$@" >"$WORK/game.out" 2>&1) &
    GAME_PID=$!
    GAME_WINDOW=""
    for _ in $(seq 100); do
        GAME_WINDOW=$(wmctrl -l | awk '$NF == "Rebrik" { print $1 }')
        [ -n "$GAME_WINDOW" ] && break
        sleep 0.1
    done
    [ -n "$GAME_WINDOW" ] || fail "wmctrl does not list a window named Rebrik"
}

# The close button (asked through the window manager) ends the game with status 0 within 1 s.
close_window() {
    wmctrl -c Rebrik
    wait_game 1
    [ $STATUS -eq 0 ] || fail "closed at $1: status $STATUS"
}

# The intro with the pointer at frame point (300, 150), as the window shows it, saved as $1.
capture_intro() {
    wait_until "intro" intro_shows
    move_to 300 150
    sleep 0.3
    xwd -id "$GAME_WINDOW" -silent | convert xwd:- "png:$1"
}

for screen in 640x480:1 1920x1080:2 3840x2160:4; do
    start_x "${screen%:*}"
    openbox >"$WORK/openbox.log" 2>&1 &
    sleep 0.5
    SCALE=${screen#*:}
    start_window
    size=$(xwininfo -id "$GAME_WINDOW" | awk '/Width:/ { w = $2 } /Height:/ { h = $2 } END { print w "x" h }')
    [ "$size" = "$((640 * SCALE))x$((480 * SCALE))" ] || fail "window of $size on ${screen%:*}"
    xprop -id "$GAME_WINDOW" WM_CLASS | grep -q '"rebrik", "Rebrik"' || fail "window class"
    # The frame at 1x, on a screen where the whole window shows, then the same frame enlarged.
    if [ "$SCALE" -eq 2 ]; then
        close_window intro
        SCALE=1 start_window --scale 1
        SCALE=1 capture_intro "$WORK/frame.png"
        close_window intro
        start_window
    fi
    if [ "$SCALE" -gt 1 ]; then
        capture_intro "$WORK/big.png"
        convert "$WORK/frame.png" -sample $((SCALE * 100))% "$WORK/frame_big.png"
        differ=$(compare -metric AE "$WORK/big.png" "$WORK/frame_big.png" null: 2>&1)
        [ "$differ" = 0 ] || fail "at ${SCALE}x $differ pixels differ from the frame enlarged"
    fi
    [ "$SCALE" -eq 2 ] && break
    close_window intro
    kill "$XVFB_PID"
    wait "$XVFB_PID" 2>/dev/null
done

# At 2x: a game by clicks through a right answer (blink and banner) and a walk away, closing
# during the next question; then a game by keys, closing during the blink.
leave_intro
OLD_QUESTION=$(question_signature)
answer "$(correct_slot)"
wait_until "second question" new_question
click_at 90 435
dismiss_final
close_window intro
start_window
wait_until "intro" intro_shows
hold_key space 0.15
wait_until "first question" answers_show
OLD_QUESTION=$(question_signature)
hold_key "$(echo a b c d | cut -d' ' -f$(($(correct_slot) + 1)))" 0.15
wait_until "confirmation prompt" prompt_shows
hold_key n 0.15
wait_until "end of the prompt" prompt_gone
hold_key 1 0.15
wait_until "fifty-fifty" eval '[ "$(answers_with_text)" -eq 2 ]'
hold_key "$(echo a b c d | cut -d' ' -f$(($(correct_slot) + 1)))" 0.15
wait_until "confirmation prompt" prompt_shows
hold_key Return 0.15
wait_until "second question" new_question
hold_key k 0.15
wait_until "final screen" final_shows
hold_key Return 0.15
wait_until "next intro" intro_shows
hold_key space 0.15
wait_until "first question" answers_show
close_window question
start_window
leave_intro
click_slot "$(correct_slot)"
wait_until "confirmation prompt" prompt_shows
click_at $ANO_CLICK
sleep 0.3
close_window blink

# SIGTERM, SIGINT (caught, and ignored at start as by a script's "&") and SIGHUP, 50 times
# each at a random moment within 1 s of the game catching them, with the pointer moving over
# the windows: only ever death by that signal. Six games run at once.
while :; do xdotool mousemove $((RANDOM % 1280)) $((RANDOM % 960)); sleep 0.05; done &
MOVER=$!
echo "signals from $SECONDS s"
run_signalled() {
    local sig=$1 number=$2 keep=$3 status ms=$((RANDOM % 1000))
    (cd "$WORK/data" && exec perl -e '$SIG{INT} = "DEFAULT" if shift; exec @ARGV' "$keep" \
        "$BUILD/rebrik" >/dev/null 2>&1) &
    local pid=$!
    # SIGHUP is caught once the game's own handlers are in (the library catches only the others).
    for _ in $(seq 100); do
        [ $((0x$(awk '/SigCgt/ { print $2 }' /proc/$pid/status 2>/dev/null) & 1)) -eq 1 ] && break
        sleep 0.05
    done
    sleep "$((ms / 1000)).$(printf %03d $((ms % 1000)))"
    kill -s "$sig" $pid
    wait $pid
    status=$?
    [ $status -eq $((128 + number)) ] || echo "$sig: status $status" >>"$WORK/signals.out"
}
: >"$WORK/signals.out"
for round in $(seq 25); do
    runs=()
    for case in "TERM 15 1" "INT 2 1" "INT 2 0" "HUP 1 0" "TERM 15 0" "HUP 1 1"; do
        run_signalled $case 2>/dev/null &
        runs+=($!)
    done
    wait "${runs[@]}"
done
kill $MOVER
[ -s "$WORK/signals.out" ] && fail "signals: $(sort "$WORK/signals.out" | uniq -c)"
echo "window desktop test passed"
