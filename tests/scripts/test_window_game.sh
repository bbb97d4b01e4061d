# Complete games of the real program in a real window, played with xdotool from what the
# screen shows. The test banks make the correct answer the only long one, so it can be told
# from the screen.
BUILD=$1
SRC=$2
source "$SRC/tests/scripts/window_lib.sh"

start_x
make_data
cp "$SRC"/tests/data/game/*.txt "$WORK/data/"

# Game 1: a correct answer with its blink and banner, every lifeline, then walking away.
start_game
leave_intro
OLD_QUESTION=$(question_signature)
SLOT=$(correct_slot)
click_slot "$SLOT"
wait_until "confirmation prompt" prompt_shows
click_at $ANO_CLICK
# The blink's green phases last 300 ms and the banner 1 s: grab the screen in a quick burst
# for 4 s and look at the grabs afterwards.
n=0
end=$((SECONDS + 4))
while [ $SECONDS -lt $end ]; do
    n=$((n + 1))
    xwd -root -silent >"$WORK/burst$n.xwd"
done
green=0
banner=0
for i in $(seq $n); do
    convert "xwd:$WORK/burst$i.xwd" "$SHOT"
    slot_green "$SLOT" && green=$((green + 1))
    banner_shows && banner=$((banner + 1))
done
[ $green -gt 0 ] || fail "no blink of the correct answer in $n grabs"
[ $banner -gt 0 ] || fail "no level banner in $n grabs"
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
