# Screenshots for the README, taken from a real game on the bundled data under Xvfb: the intro,
# a question, the confirmation, a level banner and the final screen.
# Usage: tools/screenshots.sh BUILD_DIR SOURCE_DIR OUTPUT_DIR
BUILD=$1
SRC=$2
SCREENSHOTS=$3
source "$SRC/tests/scripts/window_lib.sh"
mkdir -p "$SCREENSHOTS"
start_x
make_data
start_game

# Waits until the box at $2 is at its reddest by its mean, saving the reddest capture as $1.
save_reddest() {
    local best=-1
    for _ in $(seq 12); do
        capture "$SHOT"
        mean_is "$2" 'r > best' && best=$r && cp "$SHOT" "$1"
    done
}

wait_until "intro" intro_shows
xdotool mousemove 455 250
sleep 0.5
capture "$SCREENSHOTS/intro.png"
leave_intro
xdotool mousemove 330 345
sleep 0.5
capture "$SCREENSHOTS/question.png"
click_slot 1 "confirmation prompt" prompt_shows
xdotool mousemove 214 186
sleep 0.5
capture "$SCREENSHOTS/confirm.png"
click_at 290 182 "end of the prompt" prompt_gone

# The fifty-fifty leaves two answers; one of them is right. Until a banner shows, take the
# first answer left and start again after a wrong one.
for try in $(seq 12); do
    [ "$try" -gt 1 ] && leave_intro
    lifeline_click 0 "fifty-fifty" eval '[ "$(answers_with_text)" -eq 2 ]'
    for s in 0 1 2 3; do [ "$(white_in "$(slot_text $s)")" -gt 0 ] && break; done
    answer "$s"
    wait_until "banner or final screen" eval 'banner_shows || final_shows'
    banner_shows && break
    dismiss_final
done
banner_shows || fail "no banner after 12 games"
save_reddest "$SCREENSHOTS/banner.png" "250x50+125+410"
wait_until "second question" answers_show
click_at 90 435 "final screen" final_shows # walk away
sleep 1
xdotool mousemove 400 330
sleep 0.3
capture "$SCREENSHOTS/final.png"

# The game in its window at 2x on a 1920x1080 desktop with a window manager (openbox): a
# question, cut out of the screen with the window's frame.
kill -9 "$GAME_PID"
kill "$XVFB_PID"
wait 2>/dev/null
start_x 1920x1080
start_openbox
GAME_WINDOW="" && start_game && wait_until "a window named Rebrik" listed
SCALE=2
leave_intro
point_at 330 345
read -r left right top bottom <<<"$(xprop -id "$GAME_WINDOW" _NET_FRAME_EXTENTS | tr -dc '0-9 ')"
eval "$(xwininfo -id "$GAME_WINDOW" | awk '/Absolute upper-left X/ { print "x=" $4 } /Absolute upper-left Y/ { print "y=" $4 }')"
xwd -root -silent | convert xwd:- -crop "$((1280 + left + right))x$((960 + top + bottom))+$((x - left))+$((y - top))" \
    +repage "png:$SCREENSHOTS/window-2x.png"
echo "screenshots written to $SCREENSHOTS"
