# Shared steps of the tests that run the real game in a real X window (Xvfb) driven by xdotool;
# tools/bench and tools/screenshots.sh use them too. Sourced with BUILD and SRC set.
WORK=$(mktemp -d) GAME_PID="" XVFB_PID=""
# The game keeps its results and settings in the scratch folder, never in the real home.
export XDG_DATA_HOME="$WORK/home/data" XDG_CONFIG_HOME="$WORK/home/config"

# Stops the game and the X server and removes the scratch folder, however the test ends.
cleanup() { kill -9 $GAME_PID 2>/dev/null; kill $XVFB_PID 2>/dev/null; wait 2>/dev/null; rm -rf "$WORK"; }
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2 && [ -f "$WORK/game.out" ] && sed 's/^/  game: /' "$WORK/game.out" >&2; exit 1; }

# Starts Xvfb at 640x480x24 (or size $1) on a free display in place of any before; sets DISPLAY.
start_x() {
    [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null && wait "$XVFB_PID" 2>/dev/null
    exec 7>"$WORK/display"
    Xvfb -displayfd 7 -screen 0 "${1:-640x480}x24" -nolisten tcp >"$WORK/xvfb.log" 2>&1 & XVFB_PID=$!
    timeout 10 sh -c 'until [ -s "$0" ]; do sleep 0.1; done' "$WORK/display" || fail "Xvfb did not start"
    export DISPLAY=":$(head -n1 "$WORK/display")"
}

# Makes a fresh data folder from the bundled data; extra arguments are files to leave out.
make_data() { rm -rf "$WORK/data" && mkdir "$WORK/data" && cp "$SRC"/data/* "$WORK/data/" && (cd "$WORK/data" && rm -f "$@"); }

# Starts the game (or REBRIK_BIN) in the scratch data folder, its PATH (GAME_PATH) without
# xmessage so that a message goes to standard output instead of a window awaiting its OK button.
start_game() {
    (cd "$WORK/data" && PATH=${GAME_PATH:-/usr/sbin:/sbin} exec "${REBRIK_BIN:-$BUILD/rebrik}" "$@" >"$WORK/game.out" 2>&1) & GAME_PID=$!
}

# Waits up to $1 seconds for the game to end (then kills it: status 137); sets STATUS to its status.
wait_game() {
    timeout "$1" tail -s 0.1 --pid="$GAME_PID" -f /dev/null || kill -9 "$GAME_PID"
    wait "$GAME_PID"; STATUS=$? GAME_PID=""
}
# Escape, held for a polled read, ends the game within 10 s with status 0.
escape_ends() { hold_key Escape 0.5 && wait_game 10 && [ $STATUS -eq 0 ] || fail "Escape: status $STATUS"; }

# Saves as 640x480 frame pixels in the PNG $1 the screen, GAME_WINDOW or its part DRAWN (WxH+X+Y).
capture() { xwd -silent ${GAME_WINDOW:+-id} ${GAME_WINDOW:--root} | convert xwd:- ${DRAWN:+-crop $DRAWN +repage} -sample 640x480 "png:$1"; }

# Moves the pointer to the frame point (x, y), in GAME_WINDOW when it is set; with DRAWN set, to
# the middle of where that frame pixel is drawn.
move_to() {
    local d=(${DRAWN//[x+]/ }) && [ -n "${DRAWN:-}" ] && set -- $((d[2] + (2 * $1 + 1) * d[0] / 1280)) $((d[3] + (2 * $2 + 1) * d[1] / 960)) 1
    xdotool mousemove ${GAME_WINDOW:+--window "$GAME_WINDOW"} $(($1 * ${3:-${SCALE:-1}})) $(($2 * ${3:-${SCALE:-1}})); }

# Counts the pixels of colour r,g,b ($1) in the rectangle WxH+X+Y ($2) of the current capture.
count_colour() {
    convert "$SHOT" -crop "$2" +repage -fill black +opaque "rgb($1)" -fill white -opaque "rgb($1)" \
        -format "%[fx:int(mean*w*h+0.5)]" info:
}

# Sets r, g, b to the mean colour of the rectangle WxH+X+Y ($1) of the current capture, then
# tests the arithmetic condition $2 on them.
mean_is() {
    IFS=, read -r r g b <<<"$(convert "$SHOT" -crop "$1" +repage -resize '1x1!' \
        -format "%[fx:int(255*r)],%[fx:int(255*g)],%[fx:int(255*b)]" info:)" && (($2))
}

# Clicks the left button at (x, y), held for a polled read on a loaded machine; holds key $1 $2 s.
click_at() { move_to "$1" "$2" && sleep 0.15 && xdotool mousedown 1 sleep 0.25 mouseup 1 sleep 0.15; }
hold_key() { xdotool keydown "$1" sleep "$2" keyup "$1"; }
# Holds key $1 if KEYS (the key leaving the intro and final screen) is set, else clicks ($2, $3).
press() { if [ -n "${KEYS:-}" ]; then hold_key "$1" 0.25; else click_at "$2" "$3"; fi; }

# Board areas: slot s's answer text (column s % 2, row s / 2) and the confirmation prompt.
slot_text() { echo "180x8+$((82 + $1 % 2 * 210))+$((332 + $1 / 2 * 40))"; }
PROMPT_TEXT="88x8+206+160"

# Polls until the condition command "$@" succeeds on a fresh capture in $SHOT, for 20 s (or
# WAITS fifths of a second).
SHOT="$WORK/shot.png"
wait_until() {
    for _ in $(seq "${WAITS:-100}"); do
        capture "$SHOT" && "${@:2}" && return 0
        kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended while waiting for $1"
        sleep 0.2
    done
    fail "no $1 within $((${WAITS:-100} / 5)) s"
}

# Conditions on the current capture; changed compares area $1 with the one before the word played.
white_in() { count_colour "255,255,255" "$1"; }
changed() { [ "$(convert "$SHOT" "$WORK/old.png" -crop "$1" +repage -format "%#\n" info: | uniq | wc -l)" = 2 ]; }
intro_shows() { [ "$(count_colour "0,64,128" "248x8+223+450")" -gt 0 ]; }
answers_show() { [ "$(answers_with_text)" -ge 2 ]; }
prompt_shows() { [ "$(white_in "$PROMPT_TEXT")" -gt 20 ]; }
prompt_gone() { [ "$(white_in "$PROMPT_TEXT")" -eq 0 ]; }
banner_shows() { mean_is "250x50+125+410" 'r > 110 && b < 80 && r > g'; }
final_shows() { mean_is "250x50+125+215" 'g > 100 && r < 90 && b < 90'; }
answers_with_text() { for s in 0 1 2 3; do white_in "$(slot_text $s)" && echo; done | grep -vc '^0$'; }
new_question() { answers_show && changed "410x24+40+266"; }

# The slot whose answer text is long: in the test banks, the correct one.
correct_slot() {
    for s in 0 1 2 3; do [ "$(white_in "$(slot_text $s)")" -gt 150 ] && echo $s && return; done
    fail "no long answer on the board"
}
# Chooses answer slot $1 (A to D), lifeline $1 (1 to 3).
click_slot() { local k=(a b c d) && press "${k[$1]}" $((140 + $1 % 2 * 210)) $((335 + $1 / 2 * 40)); }
lifeline_click() { press $(($1 + 1)) $((110 + 140 * $1)) 50; }

# Chooses a slot and confirms it, then waits for the prompt to go.
answer() {
    click_slot "$1" && wait_until "confirmation prompt" prompt_shows
    press Return 210 182 && wait_until "end of the prompt" prompt_gone
}

# Leaves the intro and waits for the first question.
leave_intro() {
    wait_until "intro" intro_shows
    move_to 290 140 # a first motion, so the game knows where the pointer is
    press "${KEYS:-}" 300 150 && wait_until "first question" answers_show
}

# The capture once it stays the same for half a second (sounds and fades have settled).
settled() {
    cp "$SHOT" "$WORK/before.png" && sleep 0.5 && capture "$SHOT" &&
        [ "$(compare -metric AE "$SHOT" "$WORK/before.png" null: 2>&1)" = 0 ]
}

# Leaves the final screen once its fade-in is over (a press during the fade does not count)
# and waits for the next intro.
dismiss_final() {
    wait_until "final screen" final_shows && wait_until "a still final screen" settled
    press "${KEYS:-}" 300 300 && wait_until "next intro" intro_shows
}

# Plays the game script $1 (format in tests/harness/harness.h, read alike by the headless
# play_words) in the window by clicks, or keys with KEYS set, each word's effect awaited.
play() {
    for w in $(sed 's/#.*//' "$1"); do
        cp "$SHOT" "$WORK/old.png" 2>/dev/null # what changed() compares with
        case $w in
        go) leave_intro ;;
        right) answer "$(correct_slot)" && wait_until "next question" new_question ;;
        wrong) answer $((($(correct_slot) + 1) % 4)) ;;
        fifty) lifeline_click 0 && wait_until "fifty-fifty" eval '[ "$(answers_with_text)" -eq 2 ]' ;;
        switch) lifeline_click 1 && wait_until "switched question" new_question ;;
        third) lifeline_click 2 && wait_until "third lifeline's mark" changed "100x40+340+30" ;;
        exit) press k 70 435 ;;
        end) dismiss_final ;;
        esc) escape_ends ;;
        esac
    done
}
