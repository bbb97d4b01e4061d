# Complete games of the real program in a real window, played with xdotool from what the
# screen shows. The test banks make the correct answer the only long one, so it can be told
# from the screen. With SCREENSHOTS=FOLDER set, the bundled question banks are used instead and
# the intro, a question, the confirmation, a level banner and the final screen are saved there.
BUILD=$1
SRC=$2
source "$SRC/tests/scripts/window_lib.sh"

# Polls until the condition command "$@" succeeds on a fresh capture in $SHOT, for 20 s.
SHOT="$WORK/shot.png"
wait_until() {
    local what=$1
    shift
    for _ in $(seq 100); do
        capture "$SHOT"
        "$@" && return 0
        kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended while waiting for $what"
        sleep 0.2
    done
    fail "no $what within 20 s"
}

white_in() { count_colour "$SHOT" "255,255,255" "$1"; }

# Conditions on the current capture.
intro_shows() { [ "$(count_colour "$SHOT" "0,64,128" "$HINT")" -gt 0 ]; }
answers_show() { [ "$(answers_with_text)" -ge 2 ]; }
prompt_shows() { [ "$(white_in "$PROMPT_TEXT")" -gt 20 ]; }
prompt_gone() { [ "$(white_in "$PROMPT_TEXT")" -eq 0 ]; }
banner_shows() {
    local c
    IFS=, read -r r g b <<<"$(mean_colour "$SHOT" "$BANNER_BOX")"
    [ "$r" -gt 110 ] && [ "$b" -lt 80 ] && [ "$r" -gt "$g" ]
}
final_shows() {
    IFS=, read -r r g b <<<"$(mean_colour "$SHOT" "$FINAL_BOX")"
    [ "$g" -gt 100 ] && [ "$r" -lt 90 ] && [ "$b" -lt 90 ]
}
answers_with_text() {
    local n=0
    for s in 0 1 2 3; do [ "$(white_in "${SLOT_TEXT[$s]}")" -gt 0 ] && n=$((n + 1)); done
    echo $n
}
new_question() { answers_show && [ "$(question_signature)" != "$OLD_QUESTION" ]; }
question_signature() { convert "$SHOT" -crop "$QUESTION_TEXT" +repage -format "%#" info:; }

# The slot whose answer text is long: in the test banks, the correct one.
correct_slot() {
    for s in 0 1 2 3; do
        [ "$(white_in "${SLOT_TEXT[$s]}")" -gt 150 ] && { echo $s; return; }
    done
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

# The blink: the button of slot $1 turns green.
slot_green() {
    IFS=, read -r r g b <<<"$(mean_colour "$SHOT" "${SLOT_BUTTON[$1]}")"
    [ "$g" -gt "$b" ] && [ "$g" -gt "$r" ]
}

# Leaves the intro with a click and waits for the first question.
leave_intro() {
    wait_until "intro" intro_shows
    xdotool mousemove 300 150
    sleep 0.2
    click_at 300 150
    wait_until "first question" answers_show
}

# Clicks the final screen away and waits for the next intro.
dismiss_final() {
    wait_until "final screen" final_shows
    click_at 300 300
    wait_until "next intro" intro_shows
}

if [ -n "${SCREENSHOTS:-}" ]; then
    source "$SRC/tests/scripts/screenshots.sh"
    exit 0
fi

start_x
make_data
cp "$SRC"/tests/data/game/*.txt "$WORK/data/"

# Game 1: a correct answer with its blink and banner, every lifeline, then walking away.
start_game
leave_intro
OLD_QUESTION=$(question_signature)
SLOT=$(correct_slot)
answer "$SLOT"
wait_until "blink of the correct answer" slot_green "$SLOT"
wait_until "level banner" banner_shows
wait_until "second question" new_question
lifeline_click 0
wait_until "fifty-fifty" eval '[ "$(answers_with_text)" -eq 2 ]'
correct_slot >/dev/null # the correct answer stays
OLD_QUESTION=$(question_signature)
lifeline_click 1
wait_until "switched question" new_question
[ "$(answers_with_text)" -eq 4 ] || fail "the switched question does not show four answers"
capture "$SHOT"
THIRD_ICON=$(convert "$SHOT" -crop "$THIRD_ICON_AREA" +repage -format "%#" info:)
lifeline_click 2
wait_until "third lifeline's mark" eval '[ "$(convert "$SHOT" -crop "$THIRD_ICON_AREA" +repage -format "%#" info:)" != "$THIRD_ICON" ]'
click_at 90 435 # the exit button
dismiss_final

# Game 2: a wrong answer ends the game; then Escape ends the program with status 0.
leave_intro
answer $(( ($(correct_slot) + 1) % 4 ))
dismiss_final
hold_key Escape 0.5
wait_game 10
[ $STATUS -eq 0 ] || fail "Escape: status $STATUS, expected 0"

# Game 3: the medium bank is missing: reaching question 6 ends with its message and status 1.
rm "$WORK/data/stredne.txt"
start_game
leave_intro
for q in 1 2 3 4 5; do
    OLD_QUESTION=$(question_signature)
    answer "$(correct_slot)"
    [ $q -lt 5 ] && wait_until "question $((q + 1))" new_question
done
wait_game 20
[ $STATUS -eq 1 ] || fail "missing stredne.txt: status $STATUS, expected 1"
grep -qx "Nemozem nacitat otazky zo suboru stredne.txt" "$WORK/game.out" || fail "missing stredne.txt: message $(cat "$WORK/game.out")"
echo "window game test passed"
