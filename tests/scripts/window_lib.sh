# Shared steps of the tests that run the real game in a real X window (Xvfb) driven by xdotool;
# tools/bench and tools/screenshots.sh use them too. Sourced with BUILD and SRC set.
WORK=$(mktemp -d) GAME_PID="" XVFB_PID=""

# Stops the game and the X server and removes the scratch folder, however the test ends.
cleanup() { kill -9 $GAME_PID 2>/dev/null; kill $XVFB_PID 2>/dev/null; wait 2>/dev/null; rm -rf "$WORK"; }
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2 && [ -f "$WORK/game.out" ] && sed 's/^/  game: /' "$WORK/game.out" >&2; exit 1; }

# Starts Xvfb at 640x480x24 (or size $1) on a display number it picks itself, in place of the
# one started before; exports DISPLAY.
start_x() {
    [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null && wait "$XVFB_PID" 2>/dev/null
    exec 7>"$WORK/display"
    Xvfb -displayfd 7 -screen 0 "${1:-640x480}x24" -nolisten tcp >"$WORK/xvfb.log" 2>&1 & XVFB_PID=$!
    for _ in $(seq 100); do [ -s "$WORK/display" ] && break || sleep 0.1; done
    [ -s "$WORK/display" ] || fail "Xvfb did not start"
    export DISPLAY=":$(head -n1 "$WORK/display")"
}

# Makes a data folder from the bundled data; extra arguments are files to leave out.
make_data() { mkdir -p "$WORK/data" && cp "$SRC"/data/* "$WORK/data/" && (cd "$WORK/data" && rm -f "$@"); }

# Starts the game in the scratch data folder, with xmessage kept out of its PATH so that a
# message goes to standard output instead of a window that waits for its OK button.
start_game() {
    (cd "$WORK/data" && PATH=/usr/local/sbin:/usr/sbin:/sbin exec "${REBRIK_BIN:-$BUILD/rebrik}" "$@" >"$WORK/game.out" 2>&1) & GAME_PID=$!
}

# Waits up to $1 seconds for the game to end and sets STATUS to its exit status.
wait_game() {
    timeout "$1" tail -s 0.1 --pid="$GAME_PID" -f /dev/null || fail "the game did not end within $1 s"
    wait "$GAME_PID"; STATUS=$? GAME_PID=""
}

# Saves the screen as a PNG at $1, or GAME_WINDOW's SCALE x SCALE blocks as 640x480 frame pixels.
capture() { xwd -silent ${GAME_WINDOW:+-id} ${GAME_WINDOW:--root} | convert xwd:- -sample 640x480 "png:$1"; }

# Moves the pointer to the frame point (x, y), in GAME_WINDOW when it is set.
move_to() { xdotool mousemove ${GAME_WINDOW:+--window "$GAME_WINDOW"} $(($1 * ${SCALE:-1})) $(($2 * ${SCALE:-1})); }

# Counts the pixels of colour r,g,b ($2) in the rectangle WxH+X+Y ($3) of the PNG $1.
count_colour() {
    convert "$1" -crop "$3" +repage -fill black +opaque "rgb($2)" -fill white -opaque "rgb($2)" \
        -format "%[fx:int(mean*w*h+0.5)]" info:
}

# Prints the mean "r,g,b" of the rectangle WxH+X+Y ($2) of the PNG $1.
mean_colour() {
    convert "$1" -crop "$2" +repage -resize '1x1!' \
        -format "%[fx:int(255*r)],%[fx:int(255*g)],%[fx:int(255*b)]" info:
}

# Clicks the left button at (x, y), held long enough for a polled read; holds key $1 for $2 s.
click_at() { move_to "$1" "$2" && sleep 0.15 && xdotool mousedown 1 sleep 0.1 mouseup 1 sleep 0.15; }
hold_key() { xdotool keydown "$1" sleep "$2" keyup "$1"; }

# Where things stand on the board: the answer slots' text and middles, the confirmation fields,
# the lifeline icons (centred on x 110, 250, 390 at y 30), the boxes and the intro's hint.
SLOT_TEXT=("180x8+82+332" "180x8+292+332" "180x8+82+372" "180x8+292+372")
SLOT_CLICK=("140 335" "350 335" "140 375" "350 375")
THIRD_ICON_AREA="100x40+340+30"
ANO_CLICK="210 182"
NIE_CLICK="290 182"
PROMPT_TEXT="88x8+206+160"
QUESTION_TEXT="410x24+40+266"
BANNER_BOX="250x50+125+410"
FINAL_BOX="250x50+125+215"
HINT="248x8+223+450"

# Polls until the condition command "$@" succeeds on a fresh capture in $SHOT, for 20 s.
SHOT="$WORK/shot.png"
wait_until() {
    for _ in $(seq 100); do
        capture "$SHOT"
        "${@:2}" && return 0
        kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended while waiting for $1"
        sleep 0.2
    done
    fail "no $1 within 20 s"
}

# Conditions on the current capture.
white_in() { count_colour "$SHOT" "255,255,255" "$1"; }
signature() { convert "$SHOT" -crop "$1" +repage -format "%#" info:; }
intro_shows() { [ "$(count_colour "$SHOT" "0,64,128" "$HINT")" -gt 0 ]; }
answers_show() { [ "$(answers_with_text)" -ge 2 ]; }
prompt_shows() { [ "$(white_in "$PROMPT_TEXT")" -gt 20 ]; }
prompt_gone() { [ "$(white_in "$PROMPT_TEXT")" -eq 0 ]; }
mean_is() { IFS=, read -r r g b <<<"$(mean_colour "$SHOT" "$1")" && (($2)); } # box $1, test $2
banner_shows() { mean_is "$BANNER_BOX" 'r > 110 && b < 80 && r > g'; }
final_shows() { mean_is "$FINAL_BOX" 'g > 100 && r < 90 && b < 90'; }
answers_with_text() { for s in 0 1 2 3; do white_in "${SLOT_TEXT[$s]}" && echo; done | grep -vc '^0$'; }
new_question() { answers_show && [ "$(signature "$QUESTION_TEXT")" != "$OLD_QUESTION" ]; }
third_marked() { [ "$(signature "$THIRD_ICON_AREA")" != "$OLD_ICON" ]; }

# The slot whose answer text is long: in the test banks, the correct one.
correct_slot() {
    for s in 0 1 2 3; do [ "$(white_in "${SLOT_TEXT[$s]}")" -gt 150 ] && echo $s && return; done
    fail "no long answer on the board"
}
click_slot() { click_at ${SLOT_CLICK[$1]}; }
lifeline_click() { click_at $((110 + 140 * $1)) 50; }

# Chooses a slot and confirms it, then waits for the prompt to go.
answer() {
    click_slot "$1"
    wait_until "confirmation prompt" prompt_shows
    click_at $ANO_CLICK
    wait_until "end of the prompt" prompt_gone
}

# Leaves the intro with a click and waits for the first question.
leave_intro() {
    wait_until "intro" intro_shows
    move_to 290 140 # a first motion, so the game knows where the pointer is
    click_at 300 150
    wait_until "first question" answers_show
}

# Clicks the final screen away and waits for the next intro.
dismiss_final() {
    wait_until "final screen" final_shows
    click_at 300 300
    wait_until "next intro" intro_shows
}

# Plays the game script $1 (format in tests/harness/harness.h, read alike by the headless
# play_words) in the window, each word's effect awaited on the screen.
play() {
    for w in $(sed 's/#.*//' "$1"); do
        OLD_QUESTION=$(signature "$QUESTION_TEXT" 2>/dev/null)
        OLD_ICON=$(signature "$THIRD_ICON_AREA" 2>/dev/null)
        case $w in
        go) leave_intro ;;
        right) answer "$(correct_slot)" && wait_until "next question" new_question ;;
        wrong) answer $((($(correct_slot) + 1) % 4)) ;;
        fifty) lifeline_click 0 && wait_until "fifty-fifty" eval '[ "$(answers_with_text)" -eq 2 ]' ;;
        switch) lifeline_click 1 && wait_until "switched question" new_question ;;
        third) lifeline_click 2 && wait_until "third lifeline's mark" third_marked ;;
        exit) click_at 70 435 ;;
        end) dismiss_final ;;
        esc) hold_key Escape 0.5 ;;
        esac
    done
}
