# What the real game costs in a real X window (Xvfb with no window manager, the window at 0,0):
# the time from start to the first intro frame, and the X server's CPU while the game waits on
# a question with the pointer still. The frame clock (frame_clock.c) notes the first frame.
# Usage: bash tools/bench/window_costs.sh BUILD_DIR [SOURCE_DIR] [SCALE] [SECONDS]
# REBRIK_BIN=path measures another build of the game (an older one ignores the scale);
# GAME_OPTIONS=--pokojne measures the calm waits.
BUILD=$(cd "${1:?usage: window_costs.sh BUILD_DIR [SOURCE_DIR] [SCALE] [SECONDS]}" && pwd)
SRC=$(cd "${2:-$(dirname "$0")/../..}" && pwd)
SECONDS_IDLE=${4:-5}
source "$SRC/tools/bench/bench_lib.sh" "${3:-1}"

# CPU time (user + system, in clock ticks) the process $1 has used so far.
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }

started=$(date +%s%N)
start_clocked_game "$WORK/first.log"
for _ in $(seq 100); do
    [ -s "$WORK/first.log" ] && break
    sleep 0.05
done
first=$(awk '$1 == "F" { print $2 }' "$WORK/first.log")
[ -n "$first" ] || fail "no frame reached the screen"
leave_intro
move_to 600 300
sleep 1
before=$(cpu_ticks "$XVFB_PID")
game_before=$(cpu_ticks "$GAME_PID")
sleep "$SECONDS_IDLE"
x_used=$(($(cpu_ticks "$XVFB_PID") - before))
game_used=$(($(cpu_ticks "$GAME_PID") - game_before))
ticks=$(getconf CLK_TCK)
echo "| ${BENCH_SCALE}x | $(awk -v f="$first" -v s="$started" 'BEGIN { printf "%.3f s", (f - s / 1000) / 1e6 }') |" \
    "$(awk -v u="$x_used" -v t="$ticks" -v s="$SECONDS_IDLE" 'BEGIN { printf "%.1f %%", 100 * u / t / s }') |" \
    "$(awk -v u="$game_used" -v t="$ticks" -v s="$SECONDS_IDLE" 'BEGIN { printf "%.0f %%", 100 * u / t / s }') |"
