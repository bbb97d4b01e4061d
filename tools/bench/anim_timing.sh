# Times the level banner, the final fade-in and the final fade-out of the real game in a real
# X window (Xvfb), against the sum of their pauses, at each scale asked for (1x, 2x and 4x by
# default) in one run. A small preloaded library (frame_clock.c) timestamps the game's own calls
# of rest, nanosleep, blit and text_mode; the game itself is unchanged.
# The question files are the test ones, whose right answer is the only long one, so the script
# can see on the screen which answer to click: per game one right answer (a level banner), then
# a wrong one (the final screen).
# At a scale above 1 the window is that many times 640x480, on a screen of its size.
# Usage: bash tools/bench/anim_timing.sh BUILD_DIR [SOURCE_DIR] [GAMES] ["SCALES"]
# REBRIK_BIN=path measures another build of the game.
BUILD=$(cd "${1:?usage: anim_timing.sh BUILD_DIR [SOURCE_DIR] [GAMES] [\"SCALES\"]}" && pwd)
SRC=$(cd "${2:-$(dirname "$0")/../..}" && pwd)
GAMES=${3:-5}

# Plays GAMES games at scale $1 and prints one table row per animation.
measure() (
    source "$SRC/tools/bench/bench_lib.sh" "$1"
    LOG="${REBRIK_KEEP_LOG:+$REBRIK_KEEP_LOG.$1x}"
    LOG="${LOG:-$WORK/frames.log}"
    start_clocked_game "$LOG"

    alive() {
        kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended"
        kill -0 "$XVFB_PID" 2>/dev/null || fail "the X server ended"
    }

    # The slot of the right answer (the only long one), once the board shows, with the pointer
    # out of the way.
    right_slot() {
        move_to 630 470
        wait_until "answer board" answers_show
        correct_slot
    }

    # Whether the log has $1 animations (a record each, written as it ends); the left button
    # pressed for up to a second (a press during the final fade-in does not count), whether it has.
    closed() { [ "$(awk '$1 == "T" && $2 != -1' "$LOG" 2>/dev/null | wc -l)" -ge "$1" ]; }
    pressed_closed() {
        xdotool mousedown 1 && for _ in $(seq 10); do closed "$1" && break; sleep 0.1; done
        xdotool mouseup 1 && closed "$1"
    }

    # Each game's animations are awaited in the log: no capture competes with them.
    for game in $(seq "$GAMES"); do
        wait_until "intro" intro_shows
        click_at 470 10 "answer board" answers_show # on the board it hits nothing
        answer "$(right_slot)"
        wait_for "level banner" closed $((2 * game - 1)) # after the blink
        answer $((($(right_slot) + 1) % 4))
        wait_for "final screen" pressed_closed $((2 * game))
        alive
    done
    report "$1" "$LOG"
)

# Per animation: its frames are the copies to the screen of the whole frame (the first) and of
# the banner's block (each later one). The level banner has 200 frames and spans from switching
# the text mode to -1 to switching it back. The final screen has 101 fade-in frames, still
# frames while it waits, then 100 fade-out frames: the fade-in ends where the first still frame
# is copied, the fade-out starts where the last one was. Per frame, a span splits into the time
# paused (rest or sleep), the copies to the window, and the rest of the work (composing).
report() {
    awk -v scale="$1" '
function median(v, n,    i, j, t) {
    for (i = 1; i <= n; i++)
        for (j = i + 1; j <= n; j++)
            if (v[j] < v[i]) { t = v[i]; v[i] = v[j]; v[j] = t }
    return n % 2 ? v[(n + 1) / 2] : (v[n / 2] + v[n / 2 + 1]) / 2
}
# Adds one phase: the span from a to b, the pauses and the screen copies that end in it.
function phase(name, a, b,    i, shown, paused) {
    for (i = 1; i <= nc; i++)
        if (copy_end[i] > a && copy_end[i] <= b) shown += copy_end[i] - copy_start[i]
    for (i = 1; i <= np; i++)
        if (pause_end[i] > a && pause_end[i] <= b) paused += pause_end[i] - pause_start[i]
    runs[name]++; spans[name, runs[name]] = b - a
    spanned[name] += b - a; rest_us[name] += paused; show_us[name] += shown
}
function report(name, pauses, frames,    i, v, n, m, f) {
    n = runs[name]
    if (!n) return
    for (i = 1; i <= n; i++) v[i] = spans[name, i]
    m = median(v, n); f = frames * n
    printf "| %dx | %s | %d ms | %.1f ms | %.3f | %.3f | %.3f ms | %.3f ms | %d |\n", scale, name,
        pauses, m / 1000, m / (pauses * 1000), rest_us[name] / n / (pauses * 1000),
        (spanned[name] - rest_us[name] - show_us[name]) / f / 1000, show_us[name] / f / 1000, n
}
$1 == "T" && $2 == -1 { start = $3; nc = 0; np = 0; nf = 0; next }
$1 == "S" { copy_start[nc + 1] = $3; next }
$1 == "B" {
    nc++; copy_end[nc] = $3
    if ($2 == 640 * 480 * scale * scale || $2 == 250 * 50 * scale * scale) {
        nf++; frame_start[nf] = copy_start[nc]; frame_end[nf] = $3
    }
    next
}
$1 == "P" { pause_start[np + 1] = $3; next }
$1 == "E" { np++; pause_end[np] = $3; next }
$1 == "T" {
    if (nf == 200)
        phase("level banner", start, $3)
    if (nf > 201) {
        phase("final fade-in", start, frame_start[102])
        phase("final fade-out", frame_end[nf - 100], $3)
    }
}
END {
    report("level banner", 1000, 200)
    report("final fade-in", 505, 101)
    report("final fade-out", 100, 100)
}' "$2"
}

echo "| Scale | Animation | Pauses | Measured (median) | Ratio | Paused | Compose per frame | Copy to window per frame | Runs |"
echo "|---|---|---:|---:|---:|---:|---:|---:|---:|"
for scale in ${4:-1 2 4}; do
    measure "$scale" || exit 1
done
echo
echo "Load average after measuring: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) processors."
