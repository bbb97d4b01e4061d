# The window's game script (tests/data/window_game.txt) played by the real program in a real
# window with xdotool, from what the screen shows (the test banks make the correct answer the
# only long one). The first right answer is watched in a burst of grabs for the real timer's
# blink and banner; Escape at the end ends the program with status 0.
BUILD=$1
SRC=$2
source "$SRC/tests/scripts/window_lib.sh"

start_x
make_data
cp "$SRC"/tests/data/game/*.txt "$WORK/data/"
start_game
leave_intro
OLD_QUESTION=$(question_signature)
SLOT=$(correct_slot)
click_slot "$SLOT"
wait_until "confirmation prompt" prompt_shows
click_at $ANO_CLICK
n=0 end=$((SECONDS + 4))
while [ $SECONDS -lt $end ]; do n=$((n + 1)) && xwd -root -silent >"$WORK/burst$n.xwd"; done
green=0 banner=0
for i in $(seq $n); do
    convert "xwd:$WORK/burst$i.xwd" "$SHOT"
    slot_green "$SLOT" && green=$((green + 1))
    banner_shows && banner=$((banner + 1))
done
[ $green -gt 0 ] && [ $banner -gt 0 ] || fail "in $n grabs: blink in $green, banner in $banner"
wait_until "second question" new_question
play "$SRC/tests/data/window_game.txt" 3
wait_game 10
[ $STATUS -eq 0 ] || fail "Escape: status $STATUS, expected 0"
echo "window game test passed"
