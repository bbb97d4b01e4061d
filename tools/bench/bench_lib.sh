# Shared set-up of the window benches: the window tests' steps, the frame clock built, an X
# screen just the size of the window at scale $1 (no window manager: the window sits at 0,0),
# and the test banks, whose right answer is the only long one. Sourced with BUILD and SRC set.
source "$SRC/tests/scripts/window_lib.sh"
# The library may not end on a plain kill once its X connection is gone.
trap '[ -n "$GAME_PID" ] && kill -9 "$GAME_PID" 2>/dev/null; cleanup' EXIT
BENCH_SCALE=$1
SHIM="$WORK/frame_clock.so"
cc -O2 -shared -fPIC -o "$SHIM" "$SRC/tools/bench/frame_clock.c" -ldl $(pkg-config --libs allegro) ||
    fail "cannot build the frame clock"
start_x "$((640 * BENCH_SCALE))x$((480 * BENCH_SCALE))"
make_data
cp "$SRC"/tests/data/game/*.txt "$WORK/data/"

# Starts the game with the frame clock writing to $1, at the bench's scale, with the options in
# GAME_OPTIONS (--pokojne, say); the window steps then read and click frame pixels.
start_clocked_game() {
    LD_PRELOAD="$SHIM" REBRIK_FRAME_LOG="$1" start_game --scale "$BENCH_SCALE" ${GAME_OPTIONS:-}
    [ "$BENCH_SCALE" -gt 1 ] || return 0
    wait_for "a window" found
    SCALE=$BENCH_SCALE
}
