# Times what a player waits for, seen from outside: the real game in Xvfb with openbox at 1x,
# played by keys, its window polled. Per run: ANO on a right answer to the next question (the
# blink, then the level banner) and to the banner's first sight; ANO on a wrong answer to a
# still final screen (the blink, then the fade-in); and Escape held on a question until the
# game has ended, which is as long as it must be held. Each time is to the first poll that sees
# the change, so it is late by up to one poll (a capture: the "poll" column).
# Usage: bash tools/bench/responsiveness.sh BUILD_DIR [SOURCE_DIR] [RUNS]
# WINE=1 measures the Windows build (build-win, or REBRIK_WIN_BUILD) under Wine instead, and
# RENDERER=gdi with it has Wine's DirectDraw draw without OpenGL.
BUILD=$(cd "${1:?usage: responsiveness.sh BUILD_DIR [SOURCE_DIR] [RUNS]}" && pwd)
SRC=$(cd "${2:-$(dirname "$0")/../..}" && pwd)
RUNS=${3:-3}
if [ -n "${WINE:-}" ]; then
    source "$SRC/tests/scripts/wine_lib.sh"
    start_desktop && wine_program
    # Wine's DirectDraw draws through OpenGL unless told otherwise: RENDERER=gdi tries its other way.
    [ -z "${RENDERER:-}" ] ||
        wine reg add 'HKCU\Software\Wine\Direct3D' /v renderer /d "$RENDERER" /f >/dev/null 2>&1
else
    source "$SRC/tests/scripts/window_lib.sh"
    start_x 1920x1080 && start_openbox
    start_window() { GAME_WINDOW="" && start_game "$@" && wait_until "a window" listed; }
fi
make_data && cp "$SRC"/tests/data/game/*.txt "$WORK/data/"
KEYS=space SCALE=1
now_ms() { echo $(($(date +%s%N) / 1000000)); }
# Polls after ANO on a wrong answer until the final screen has stayed the same for half a
# second (this bench times, so it may wait by the clock): the time of the first capture of that
# still run, in ms from T0, so the half second of looking adds nothing to it.
still_final_time() {
    local since=0 now
    for _ in $(seq 600); do
        cp "$SHOT" "$WORK/before.png" 2>/dev/null
        capture "$SHOT" && now=$(now_ms)
        same_as "$WORK/before.png" || since=$now
        final_shows && [ $((now - since)) -ge 500 ] && echo $((since - T0)) && return 0
    done
    fail "no still final screen"
}
# ANO pressed on slot $1's answer at T0 (now_ms when Enter went down).
confirm() {
    click_slot "$1" "confirmation prompt" prompt_shows
    T0=$(now_ms) && xdotool keydown Return sleep 0.25 keyup Return
}

# Polls after ANO on a right answer until the next question shows: the banner's first sight
# (BANNER, "-" when no poll caught it) and the next question's (NEXT), in ms from T0.
climb_times() {
    BANNER="-"
    for _ in $(seq 600); do
        capture "$SHOT"
        [ "$BANNER" = - ] && banner_shows && BANNER=$(($(now_ms) - T0))
        new_question && NEXT=$(($(now_ms) - T0)) && return 0
    done
    fail "no next question"
}

echo "| Run | ANO to next question | ANO to the banner seen | ANO to still final screen | Escape held | poll |"
echo "|---:|---:|---:|---:|---:|---:|"
for run in $(seq "$RUNS"); do
    start_window --scale 1 && leave_intro
    a=$(now_ms) && capture "$SHOT" && poll=$(($(now_ms) - a))
    cp "$SHOT" "$WORK/old.png" && confirm "$(correct_slot)"
    climb_times
    confirm $((($(correct_slot) + 1) % 4))
    final=$(still_final_time)
    dismiss_final && leave_intro
    T0=$(now_ms) && xdotool keydown Escape
    wait_game && escape=$(($(now_ms) - T0))
    xdotool keyup Escape
    [ "$STATUS" -eq 0 ] || fail "Escape: status $STATUS"
    echo "| $run | $NEXT ms | $BANNER ms | $final ms | $escape ms | $poll ms |"
done
echo
echo "Load average after measuring: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) processors."
