# The real program in real windows: start-up failures; under openbox on 640x480, 3840x2160 and
# 1920x1080 screens the window's size, class and exact enlargement, the close button, a whole
# game by clicks and one by keys at 2x; signals at random moments.
BUILD=$1
SRC=$2
source "$SRC/tests/scripts/window_lib.sh"

# With no display it says it cannot start the graphics mode and reads no picture (each is a
# FIFO with no writer: opening one would block); under X a missing picture ends it with the
# pictures message. Each message exactly, line feed included, on standard output; status 1.
starts_with() {
    (cd "$1" && PATH=/usr/sbin:/sbin /usr/bin/timeout 20 "$BUILD/rebrik" >"$WORK/start.out" 2>/dev/null)
    status=$?
    [ $status -eq 1 ] && cmp -s "$WORK/start.out" <(printf '%s\n' "$2") ||
        fail "in $1: status $status, said $(cat "$WORK/start.out")"
}
mkdir "$WORK/fifo" && (cd "$WORK/fifo" && mkfifo kvmys.bmp pozadiep.tga zolici.bmp mili.tga exit.bmp)
unset DISPLAY
starts_with "$WORK/fifo" "Nemozem nastartovat graficky mod"
start_x
make_data zolici.bmp
starts_with "$WORK/data" "Nemozem nacitat bitmapy"
make_data
cp "$SRC"/tests/data/game/*.txt "$WORK/data/"

# Starts the game with options "$@"; GAME_WINDOW is the window the manager lists as Rebrik, of
# the size 640x480 times SCALE, with the desktop's class. Screens ($1) have openbox, scale $2.
listed() { GAME_WINDOW=$(wmctrl -l | awk '$NF == "Rebrik" { print $1 }') && [ -n "$GAME_WINDOW" ]; }
start_window() {
    GAME_WINDOW=""
    start_game "$@"
    wait_until "a window named Rebrik" listed
    xwininfo -id "$GAME_WINDOW" | grep -q "geometry $((640 * SCALE))x$((480 * SCALE))+" ||
        fail "window size at ${SCALE}x: $(xwininfo -id "$GAME_WINDOW" | grep geometry)"
    xprop -id "$GAME_WINDOW" WM_CLASS | grep -q '"rebrik", "Rebrik"' || fail "window class"
}
on_screen() { start_x "$1" && (openbox >/dev/null 2>&1 &) && sleep 0.5 && SCALE=$2; }

# The close button (asked through the window manager) ends the game with status 0 within 1 s.
close_window() { wmctrl -c Rebrik && wait_game 1 && [ $STATUS -eq 0 ] || fail "closed at $1: status $STATUS"; }

# The whole window at the intro, the pointer at frame point (300, 150), saved as $WORK/$SCALE.png;
# at 2x and 4x it equals the 1x one enlarged pixel by pixel.
frame_at_intro() {
    wait_until "intro" intro_shows
    move_to 290 140 && sleep 0.2 && move_to 300 150 && sleep 0.3
    xwd -id "$GAME_WINDOW" -silent | convert xwd:- "png:$WORK/$SCALE.png"
    [ $SCALE -eq 1 ] && return
    differ=$(convert "$WORK/1.png" -sample $((SCALE * 100))% png:- | compare -metric AE "$WORK/$SCALE.png" - null: 2>&1)
    [ "$differ" = 0 ] || fail "at ${SCALE}x $differ pixels differ from the frame enlarged"
}

# Scale 1 on a 640x480 screen, closed at the intro; on 3840x2160 the frame at 1x (forced) and
# at 4x, closed at the intro and at a question.
on_screen 640x480 1
start_window && close_window intro
on_screen 3840x2160 1
start_window --scale 1 && frame_at_intro && close_window intro
SCALE=4 && start_window && frame_at_intro
leave_intro && close_window question

# At 2x on 1920x1080: the window's game script by clicks, ended by Escape with status 0.
on_screen 1920x1080 2
start_window && frame_at_intro
play "$SRC/tests/data/window_game.txt"
wait_game 10
[ $STATUS -eq 0 ] || fail "Escape: status $STATUS, expected 0"

# A game by keys left by Space (a right answer, walking away with K), a second one entered by
# Enter and closed during the blink of its first answer.
start_window && keys=(a b c d)
for key in space Return; do
    wait_until "intro" intro_shows && hold_key $key 0.15
    wait_until "question" answers_show && OLD_QUESTION=$(signature "$QUESTION_TEXT")
    hold_key ${keys[$(correct_slot)]} 0.15
    wait_until "confirmation prompt" prompt_shows && hold_key Return 0.15
    wait_until "blink" prompt_gone
    [ $key = Return ] && close_window blink && break
    wait_until "second question" new_question && hold_key k 0.15
    wait_until "final screen" final_shows && hold_key $key 0.15
done

# SIGTERM, SIGINT (caught, or ignored at start) and SIGHUP 50 times each, at a random moment
# within 1 s of the game's handlers being in (SIGHUP caught), six games at once, the pointer
# moving: each dies by that signal (status 128 + its number), never by SIGABRT or SIGSEGV.
while :; do xdotool mousemove $((RANDOM % 1920)) $((RANDOM % 1080)) sleep 0.05; done &
MOVER=$!
signalled() {
    (cd "$WORK/data" && exec perl -e '$SIG{INT} = "DEFAULT" if shift; exec @ARGV' "$3" "$BUILD/rebrik" >/dev/null 2>&1) &
    local pid=$!
    for _ in $(seq 100); do [ $((0x$(awk '/SigCgt/ { print $2 }' /proc/$pid/status) & 1)) -eq 1 ] && break || sleep 0.05; done
    sleep "0.$((RANDOM % 10))$((RANDOM % 10))" && kill -s "$1" $pid
    wait $pid; local status=$?
    [ $status -eq $((128 + $2)) ] || echo "$1: status $status" >>"$WORK/signals.out"
}
for round in $(seq 25); do
    (for case in "TERM 15 1" "INT 2 1" "INT 2 0" "HUP 1 0" "TERM 15 0" "HUP 1 1"; do
        signalled $case 2>/dev/null &
    done && wait)
done
kill $MOVER
[ ! -s "$WORK/signals.out" ] || fail "signals: $(sort "$WORK/signals.out" | uniq -c)"
