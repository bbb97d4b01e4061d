# Times the level banner, the final fade-in and the final fade-out of the real game in a real
# X window (Xvfb), against the sum of their pauses. A small preloaded library (frame_clock.c)
# timestamps the game's own calls of rest, blit and text_mode; the game itself is unchanged.
# The question files are the test ones, whose right answer is the only long one, so the script
# can see on the screen which answer to click: per game one right answer (a level banner), then
# a wrong one (the final screen).
# At a SCALE above 1 the window is that many times 640x480, on a screen of its size.
# Usage: bash tools/bench/anim_timing.sh BUILD_DIR [SOURCE_DIR] [GAMES] [SCALE]
BUILD=$(cd "${1:?usage: anim_timing.sh BUILD_DIR [SOURCE_DIR] [GAMES] [SCALE]}" && pwd)
SRC=$(cd "${2:-$(dirname "$0")/../..}" && pwd)
GAMES=${3:-5}
source "$SRC/tools/bench/bench_lib.sh" "${4:-1}"
LOG="${REBRIK_KEEP_LOG:-$WORK/frames.log}"
start_clocked_game "$LOG"
wait_until "intro" intro_shows

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

for game in $(seq "$GAMES"); do
    click_at 470 10 # leaves the intro; on the board it hits nothing
    answer "$(right_slot)"
    sleep 3.2 # the blink (1.8 s), then the level banner
    answer $(( ($(right_slot) + 1) % 4 ))
    sleep 2.6 # the blink, then the final fade-in
    click_at 470 10 # ends the final screen's wait
    sleep 1
    alive
done

# Per animation: the whole span from switching the text mode to -1 to switching it back; the
# fade-in ends with its 101st pause; the fade-out starts after the last still frame. Per frame,
# the span splits into the time inside rest, the copies to the window, and the rest of the work
# (composing the frame on the back buffer).
awk '
function median(v, n,    i, j, t) {
    for (i = 1; i <= n; i++)
        for (j = i + 1; j <= n; j++)
            if (v[j] < v[i]) { t = v[i]; v[i] = v[j]; v[j] = t }
    return n % 2 ? v[(n + 1) / 2] : (v[n / 2] + v[n / 2 + 1]) / 2
}
# Adds one phase: span from a to b, the pauses in it, and the screen copies that end in it.
function phase(name, a, b, rested,    i, shown) {
    for (i = 1; i <= nb; i++)
        if (blit[i] > a && blit[i] <= b) shown += blit[i] - copy[i]
    runs[name]++; spans[name, runs[name]] = b - a
    spanned[name] += b - a; rest_us[name] += rested; show_us[name] += shown
}
function report(name, pauses, frames,    i, v, n, m, f) {
    n = runs[name]
    for (i = 1; i <= n; i++) v[i] = spans[name, i]
    m = median(v, n); f = frames * n
    printf "| %s | %d ms | %.1f ms | %.3f | %.3f | %.3f ms | %.3f ms | %.3f ms | %d |\n", name,
        pauses, m / 1000, m / (pauses * 1000), rest_us[name] / n / (pauses * 1000),
        rest_us[name] / f / 1000,
        (spanned[name] - rest_us[name] - show_us[name]) / f / 1000, show_us[name] / f / 1000, n
}
$1 == "T" && $2 == -1 { start = $3; nb = 0; n5 = 0; n1 = 0; r5 = 0; r1 = 0; next }
$1 == "S" { copy[nb + 1] = $3; next }
$1 == "B" { nb++; blit[nb] = $3; next }
$1 == "P" { p_at = $3; if ($2 == 1 && n1 == 0) first_fast = nb; next }
$1 == "E" {
    if ($2 == 5) { n5++; r5 += $3 - p_at; if (n5 == 101) in_end = $3 }
    if ($2 == 1) { n1++; r1 += $3 - p_at }
    next
}
$1 == "T" {
    if (n5 == 200 && n1 == 0)
        phase("level banner", start, $3, r5)
    if (n5 == 101 && n1 == 100) {
        phase("final fade-in", start, in_end, r5)
        out_start = first_fast >= 2 ? blit[first_fast - 1] : in_end
        if (out_start < in_end) out_start = in_end
        phase("final fade-out", out_start, $3, r1)
    }
}
END {
    print "| Animation | Pauses | Measured (median) | Ratio | Pauses alone | Mean pause | Compose per frame | Copy to window per frame | Runs |"
    print "|---|---:|---:|---:|---:|---:|---:|---:|---:|"
    report("level banner", 1000, 200)
    report("final fade-in", 505, 101)
    report("final fade-out", 100, 100)
}' "$LOG"
echo
echo "Load average while measuring: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) processors."
