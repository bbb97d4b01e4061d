# The real program in real windows: start-up failures, windows at each scale, the real pointer,
# whole games by clicks and keys, signals at random moments.
BUILD=$1 SRC=$2 && source "$SRC/tests/scripts/window_lib.sh"

# With no display it cannot start the graphics mode and reads no picture (each a FIFO with no
# writer, which would block); under X a missing picture ends it. Each message exactly, status 1.
starts_with() {
    start_game && wait_game
    [ $STATUS -eq 1 ] && cmp -s "$WORK/game.out" <(printf '%s\n' "$1") || fail "start-up: status $STATUS"
}
mkdir "$WORK/data" && (cd "$WORK/data" && mkfifo kvmys.bmp pozadiep.tga zolici.bmp mili.tga exit.bmp)
unset DISPLAY
starts_with "Nemozem nastartovat graficky mod"
start_x && make_data zolici.bmp
starts_with "Nemozem nacitat bitmapy"
make_data
# Without its clock (install_timer or install_int refused, by an interposed library) the game
# cannot run: message A, status 1.
for call in "install_timer(void)" "install_int(void (*f)(void), int t)"; do
    echo "int $call { return -1; }" | cc -shared -fPIC -x c -o "$WORK/refuse.so" - || fail "cc"
    LD_PRELOAD="$WORK/refuse.so" starts_with "Nemozem nastartovat graficky mod"
done
cp "$SRC"/tests/data/game/*.txt "$WORK/data/"

# Starts the game with options "$@" on a screen ($1, with openbox) at scale $2: GAME_WINDOW, the
# window the manager lists as Rebrik, is 640x480 times SCALE with the desktop's class.
on_screen() { start_x "$1" && start_openbox && SCALE=$2; }
start_window() {
    GAME_WINDOW="" && start_game "$@" && wait_until "a window named Rebrik" listed
    got="$(xwininfo -id "$GAME_WINDOW" | grep -o 'geometry [0-9x]*') $(xprop -id "$GAME_WINDOW" WM_CLASS)"
    [ "$got" = "geometry $((640 * SCALE))x$((480 * SCALE)) WM_CLASS(STRING) = \"rebrik\", \"Rebrik\"" ] || fail "$got"
}

# The window at the intro, the pointer at (300, 150), is the 1x one (the first taken) enlarged.
frame_at_intro() {
    wait_until "intro" intro_shows && point_at 300 150 && { [ -f "$WORK/1.png" ] || capture "$WORK/1.png"; }
    wait_for "the intro at ${SCALE}x as the 1x one enlarged" enlarges "$WORK/1.png"
}

# Whether the X server has the real pointer at screen point ($1, $2).
pointer_reads() { [ "$(xdotool getmouselocation --shell | head -n2 | cut -d= -f2 | paste -sd' ')" = "$1 $2" ] || fail "pointer not at ($1, $2)"; }
# The real pointer stays exactly where it is put, once the game has drawn the arrow there: at
# the middle of the screen, inside the window from its first moment (setting the mode used to
# warp it, a few hundred ms later, to the window's centre, 9 pixels off under openbox), then
# moved into the window, inside it, out of it (the window stands in the middle of the screen:
# the arrow goes) and back in.
pointer_stays() {
    local size corner x y
    size=($(xdotool getdisplaygeometry)) && xdotool mousemove $((size[0] / 2)) $((size[1] / 2))
    GAME_WINDOW="" && start_game "$@" && wait_until "a window named Rebrik" listed && wait_until "intro" intro_shows
    corner=($(xwininfo -id "$GAME_WINDOW" | awk '/Absolute upper-left/ { print $NF }'))
    for p in "centre" "100 100" "400 300" "out" "200 350"; do
        case $p in
        centre) x=$((size[0] / 2)) y=$((size[1] / 2)) ;;
        out) xdotool mousemove 3 3 && wait_for "no arrow at ($1, $2)" no_arrow_at "$1" "$2" && pointer_reads 3 3 && continue ;;
        *) set -- $p && move_to "$1" "$2" && x=$((corner[0] + $1 * SCALE)) y=$((corner[1] + $2 * SCALE)) ;;
        esac
        set -- $(((x - corner[0]) / SCALE)) $(((y - corner[1]) / SCALE))
        wait_for "arrow at ($1, $2)" arrow_at "$1" "$2" && pointer_reads $x $y
    done
    quits wmctrl -c Rebrik
}

# On 640x480 the X server gone under the game (the display lost) ends it with status 1. 1x
# (forced) on 3840x2160, closed at the intro; 4x there, at a question.
on_screen 640x480 1
start_window && kill $XVFB_PID && wait_game && [ $STATUS -eq 1 ] || fail "display lost: status $STATUS"
on_screen 3840x2160 1
start_window --scale 1 && frame_at_intro && quits wmctrl -c Rebrik
pointer_stays --scale 1
SCALE=4 && start_window && frame_at_intro && leave_intro && quits wmctrl -c Rebrik
pointer_stays

# At 2x on 1920x1080 (3x asked for does not fit, and it says so): the pointer stays where it is
# put; the window's game script by clicks (Escape ends it with status 0); the next start's title
# names the record it kept, M adds " - ticho" and takes it away; a short game by keys left by
# Space, then one entered by Enter closed in the blink of its answer.
on_screen 1920x1080 2
pointer_stays
start_window --scale 3 && frame_at_intro
grep -qx "rebrik: okno --scale 3 sa na obrazovku 1920x1080 nezmestí, je 2-krát väčšie" "$WORK/game.out" ||
    fail "--scale 3 on 1920x1080: $(cat "$WORK/game.out")"
play "$SRC/tests/data/window_game.txt"
titled() { [ "$(xdotool getwindowname "$GAME_WINDOW")" = "$1" ]; }
start_window && wait_until "record in the title" titled "Rebrik - rekord: 1 looser"
hold_until m "muted title" titled "Rebrik - rekord: 1 looser - ticho"
hold_until m "unmuted title" titled "Rebrik - rekord: 1 looser"
KEYS=space play <(echo go right exit end)
KEYS=Return play <(echo go wrong) && quits wmctrl -c Rebrik

# SIGTERM, SIGINT and SIGHUP 20 times each, 10 caught and 10 ignored from the start (nohup),
# at a random moment within 1 s of the game's handlers being in, six games at once, the pointer
# moving. The wait status (128 + N when signal N ended it) shows each caught one end the game by
# that signal; an ignored SIGINT or SIGHUP leaves it playing on (SIGTERM then ends it), and never
# a crash. A game plays on when its main thread has run a second of processor time after the
# signal (a caught one ends it within a frame), however long that takes on a loaded machine.
while :; do xdotool mousemove $((RANDOM % 1920)) $((RANDOM % 1080)) sleep 0.05; done & MOVER=$!
# Whether process $1 has the game's own handlers in: SIGHUP caught (the library catches SIGTERM
# and SIGINT before the game does, and SIGHUP never), or SIGHUP ignored and SIGTERM caught.
handlers_in() {
    local mask=($(awk '/^Sig(Ign|Cgt):/ { print "0x" $2 }' "/proc/$1/status" 2>/dev/null)) # ignored, caught
    ((${#mask[@]} == 2 && (mask[1] & 1 || (mask[0] & 1 && mask[1] & 1 << 14))))
}
# Starts the game with signal $1 ignored ($2 = 1) or not and prints how that signal ended it.
signalled() {
    local pid status RAN_FROM out="$1 $2: " handling=$([ "$2" = 1 ] && echo ignore || echo default)
    (cd "$WORK/data" && exec env --$handling-signal="$1" PATH=/usr/sbin:/sbin "$BUILD/rebrik" >/dev/null 2>&1) & pid=$!
    GAME_PID=$pid wait_for "handlers" handlers_in $pid
    sleep "$(printf '0.%03d' $((RANDOM % 1000)))" && kill -"$1" $pid
    RAN_FROM=$(cpu_ticks $pid) && GAME_PID=$pid wait_for "end or playing on" eval 'ended || ran 100'
    kill -0 $pid 2>/dev/null && out+="played on, " && kill $pid
    (GAME_PID=$pid wait_for "end after SIGTERM" ended) || kill -9 $pid # hung: "signalled 9"
    wait $pid 2>/dev/null; status=$? # no note from the shell on a signalled game
    echo "$out$( ((status > 128)) && echo "signalled $((status - 128))" || echo "exited $status")" >>"$WORK/signals.out"
}
for round in $(seq 10); do
    (for case in "15 0" "2 0" "2 1" "1 1" "15 1" "1 0"; do signalled $case & done && wait)
done
kill $MOVER
outcomes=$(LC_ALL=C sort "$WORK/signals.out" | uniq -c)
[ "$(echo $outcomes)" = "10 1 0: signalled 1 10 1 1: played on, signalled 15 10 15 0: signalled 15 \
10 15 1: signalled 15 10 2 0: signalled 2 10 2 1: played on, signalled 15" ] || fail "signals: $outcomes"
