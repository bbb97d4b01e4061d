# Shared steps of the tests that run the real game in a real X window (Xvfb) driven by xdotool;
# tools/bench and tools/screenshots.sh use them too. Sourced with BUILD and SRC set.
WORK=$(mktemp -d) GAME_PID="" XVFB_PID=""
# The game keeps its results and settings in the scratch folder, never in the real home.
export XDG_DATA_HOME="$WORK/home/data" XDG_CONFIG_HOME="$WORK/home/config"

# Stops the game and the X server and removes the scratch folder, however the test ends.
cleanup() { kill -9 $GAME_PID 2>/dev/null; kill $XVFB_PID 2>/dev/null; wait 2>/dev/null; rm -rf "$WORK"; }
trap cleanup EXIT
# A failure shows the game's output and, while it still runs, where its threads stand.
fail() {
    echo "FAIL: $*" >&2 && [ "${GAME_PID:-$$}" != $$ ] && ! ended && stacks
    [ -f "$WORK/game.out" ] && sed 's/^/  game: /' "$WORK/game.out" >&2; exit 1
}

# Polls until the command "${@:2}" succeeds; only a hang takes HANG seconds: it fails, naming $1.
HANG=${HANG:-300}
wait_for() {
    local until=$((SECONDS + HANG))
    until "${@:2}"; do ((SECONDS < until)) || fail "no $1 within $HANG s"; sleep 0.1; done
}

# Starts Xvfb at 640x480x24 (or size $1) on a free display in place of any before, with no key
# repeating however long a key is held; sets DISPLAY. Without -noreset the server resets each time
# its last client leaves (a capture between a test's steps), dropping a game connecting just then.
# The first key xdotool sends changes every client's keyboard map (the server's keyboard becomes
# xdotool's); openbox then grabs its keys anew, and a key arriving meanwhile (F4 of Alt+F4) goes
# to the game instead: one key (Shift) is sent, and seen done, before any client starts.
start_x() {
    [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null && wait "$XVFB_PID" 2>/dev/null
    exec 7>"$WORK/display"
    Xvfb -displayfd 7 -screen 0 "${1:-640x480}x24" -nolisten tcp -noreset -r >"$WORK/xvfb.log" 2>&1 & XVFB_PID=$!
    wait_for "Xvfb" test -s "$WORK/display"
    export DISPLAY=":$(head -n1 "$WORK/display")" && xdotool key shift getmouselocation >/dev/null
}
# Starts openbox and waits until it manages the screen and says it can show a window full screen,
# which it says after naming itself (again if it ended, as it may: a window is only listed while
# it runs).
managed() {
    wmctrl -m >/dev/null 2>&1 && xprop -root _NET_SUPPORTED | grep -q _NET_WM_STATE_FULLSCREEN && return
    kill -0 "${OPENBOX_PID:-}" 2>/dev/null || { openbox >>"$WORK/openbox.log" 2>&1 & OPENBOX_PID=$!; }
    false
}
start_openbox() { OPENBOX_PID="" && wait_for "window manager" managed; }
# GAME_WINDOW: the window titled Rebrik (and more), as the window manager lists it, or the last.
listed() { managed && GAME_WINDOW=$(wmctrl -l | awk '$4 == "Rebrik" { print $1 }') && [ -n "$GAME_WINDOW" ]; }
found() { GAME_WINDOW=$(xdotool search --name '^Rebrik' | tail -n1) && [ -n "$GAME_WINDOW" ]; }

# Makes a fresh data folder from the bundled data; extra arguments are files to leave out.
make_data() { rm -rf "$WORK/data" && mkdir "$WORK/data" && cp "$SRC"/data/* "$WORK/data/" && (cd "$WORK/data" && rm -f "$@"); }

# Starts the game (or REBRIK_BIN) in the scratch data folder (or GAME_DIR), its PATH (GAME_PATH)
# without xmessage so that a message goes to standard output, not a window awaiting its OK.
start_game() {
    (cd "${GAME_DIR:-$WORK/data}" && PATH=${GAME_PATH:-/usr/sbin:/sbin} exec "${REBRIK_BIN:-$BUILD/rebrik}" "$@" >"$WORK/game.out" 2>&1) & GAME_PID=$!
}

# Waits for the game to end (a hang is killed: 137, its threads' stacks shown by fail where gdb is);
# its status in STATUS.
ended() { ! kill -0 "$GAME_PID" 2>/dev/null; }
stacks() { command -v gdb >/dev/null && gdb -p "$GAME_PID" -batch -ex 'thread apply all bt' 2>&1 | grep -E '^(#|Thread)' >&2; }
wait_game() {
    (wait_for "end of the game" ended) || kill -9 "$GAME_PID"
    wait "$GAME_PID"; STATUS=$? GAME_PID=""
}
# The command "$@" (a key, the close button) ends the game with status 0; so does Escape, held.
quits() { "$@" && wait_game && [ $STATUS -eq 0 ] || fail "$*: status $STATUS"; }
escape_ends() { quits xdotool keydown Escape && xdotool keyup Escape; }

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

# Whether a fresh capture has the whole arrow with its top-left corner at frame point ($1, $2).
# A smoothed frame blends the arrow's edges: SMOOTHED allows them (an arrow shown misses about
# 11 of its pixels by 20 %, none shown about 95).
arrow_at() {
    local most=0; [ -z "${SMOOTHED:-}" ] || most=40
    capture "$SHOT" && convert "$SHOT" -crop "12x19+$1+$2" +repage "$WORK/under.png" &&
        convert "$WORK/under.png" \( "$SRC/data/kvmys.bmp" -transparent magenta \) -composite "$WORK/arrow.png" &&
        (($(compare -metric AE ${SMOOTHED:+-fuzz 20%} "$WORK/under.png" "$WORK/arrow.png" null: 2>&1) <= most))
}
no_arrow_at() { ! arrow_at "$@"; }
# Whether GAME_WINDOW, captured whole, is picture $1 enlarged $2 (else SCALE) times pixel by pixel.
enlarges() {
    xwd -silent -id "$GAME_WINDOW" | convert xwd:- "png:$WORK/whole.png" && convert "$1" -sample $((${2:-$SCALE} * 100))% png:- |
        compare -metric AE "$WORK/whole.png" - null: 2>&1 | grep -qx 0
}
# Moves the pointer to (x, y) from beside it, again until the game draws its arrow there (a
# motion it got before it read the pointer is not seen): then the game knows where a click lands.
moved_to() { move_to $(($1 - 1)) "$2" && move_to "$1" "$2" && arrow_at "$1" "$2"; }
point_at() { wait_for "arrow at ($1, $2)" moved_to "$1" "$2"; }

# Holds key $1 (button: the left button) until the condition "${@:3}" ($2) holds on a capture.
hold_until() {
    local input=(key "$1") && [ "$1" = button ] && input=(mouse 1)
    xdotool "${input[0]}down" "${input[1]}" && wait_until "${@:2}" && xdotool "${input[0]}up" "${input[1]}"
}
# Clicks at (x, y) until the condition "${@:4}" ($3) holds; press holds key $1 instead if KEYS
# (the key leaving the intro and final screen) is set.
click_at() { point_at "$1" "$2" && hold_until button "${@:3}"; }
press() { if [ -n "${KEYS:-}" ]; then hold_until "$1" "${@:4}"; else click_at "${@:2}"; fi; }

# Board areas: slot s's answer text (column s % 2, row s / 2) and the confirmation prompt.
slot_text() { echo "180x8+$((82 + $1 % 2 * 210))+$((332 + $1 / 2 * 40))"; }
PROMPT_TEXT="88x8+206+160"

# Polls until the condition "${@:2}" ($1) holds on a fresh capture, the game still running.
SHOT="$WORK/shot.png"
captured() { { ! ended || fail "the game ended while waiting for $1"; } && capture "$SHOT" && "${@:2}"; }
wait_until() { wait_for "$1" captured "$@"; }

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
# Chooses answer slot $1 (A to D), lifeline $1 (1 to 3), until the condition "${@:2}".
click_slot() { local k=(a b c d) && press "${k[$1]}" $((140 + $1 % 2 * 210)) $((335 + $1 / 2 * 40)) "${@:2}"; }
lifeline_click() { press $(($1 + 1)) $((110 + 140 * $1)) 50 "${@:2}"; }

# Chooses a slot and confirms it, until the prompt has gone.
answer() { click_slot "$1" "confirmation prompt" prompt_shows && press Return 210 182 "end of the prompt" prompt_gone; }
# Leaves the intro, until the first question shows.
leave_intro() { wait_until "intro" intro_shows && press "${KEYS:-}" 300 150 "first question" answers_show; }

# Whether the window manager's active window is named $1 (and more).
in_front() { xdotool getactivewindow getwindowname 2>/dev/null | grep -q "^$1"; }

# Processor time the main thread of process $1 has used, in clock ticks (0 once it ended); ran:
# whether the game's has grown by $1 since RAN_FROM, however slowly a loaded machine runs it;
# run_for: waits from now until it has grown by $1 (20: a fifth of a second), naming $2 if given.
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/task/$1/stat" 2>/dev/null || echo 0; }
ran() { (($(cpu_ticks "$GAME_PID") >= RAN_FROM + $1)); }
run_for() { RAN_FROM=$(cpu_ticks "$GAME_PID") && wait_for "${2:-the game running}" ran "$1"; }
# Holds key $2 (mouse 1: the left button) until the game has run a fifth of a second, so a
# polled read has seen it, for a press taken on its release.
press_seen() { xdotool "$1down" "$2" && run_for 20 "a press seen" && xdotool "$1up" "$2"; }
# The capture is picture $1; or the one before it, the game having run a fifth of a second
# between them (sounds and fades have settled).
same_as() { [ "$(compare -metric AE "$SHOT" "$1" null: 2>&1)" = 0 ]; }
settled() { cp "$SHOT" "$WORK/before.png" && run_for 20 && capture "$SHOT" && same_as "$WORK/before.png"; }

# Leaves the final screen once its fade-in is over (a press during the fade does not count),
# until the next intro.
dismiss_final() {
    wait_until "final screen" final_shows && wait_until "a still final screen" settled
    press "${KEYS:-}" 300 300 "next intro" intro_shows
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
        fifty) lifeline_click 0 "fifty-fifty" eval '[ "$(answers_with_text)" -eq 2 ]' ;;
        switch) lifeline_click 1 "switched question" new_question ;;
        third) lifeline_click 2 "third lifeline's mark" changed "100x40+340+30" ;;
        exit) press k 70 435 "final screen" final_shows ;;
        end) dismiss_final ;;
        esc) escape_ends ;;
        esac
    done
}
