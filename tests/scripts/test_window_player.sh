# The player's data in a real window: the hall of fame, the mode remembered, the results kept.
BUILD=$1 SRC=$2 && source "$SRC/tests/scripts/window_lib.sh"

start_x 1280x1024 # no window manager: the window stands at 0,0
make_data && cp "$SRC"/tests/data/game/*.txt "$WORK/data/"
# GAME_WINDOW: the game's window (made anew on each switch back from full screen).
start_game && wait_until "a window" found
wait_until "intro" intro_shows && point_at 600 400 && cp "$SHOT" "$WORK/intro.png"
hall_shows() { mean_is "400x40+120+220" 'b > 80 && r < 60'; }

# H over the intro and back: the intro frame exactly as before (the hall goes on a release).
hold_until h "hall of fame" hall_shows
press_seen key space && wait_until "intro again" same_as "$WORK/intro.png"

# F11 to full screen and back (its frame: test_window_fullscreen.sh), each switch remembered once
# it is made, the release seen between them; then the window shows the intro as before.
remembered() { grep -qx "cela-obrazovka=$1" "$XDG_CONFIG_HOME/rebrik/nastavenia.txt" 2>/dev/null; }
xdotool keydown F11 && wait_for "full screen remembered" remembered 1 && xdotool keyup F11
run_for 20 "the release seen"
GAME_WINDOW="" && xdotool keydown F11 && wait_for "window remembered" remembered 0 && xdotool keyup F11
wait_until "a window again" found
wait_until "window again" eval 'move_to 590 390 && move_to 600 400 && capture "$SHOT" && same_as "$WORK/intro.png"'

# Walking away at once ends on the final screen; H there and back leaves it as it was.
hold_until space "first question" answers_show
hold_until k "final screen" final_shows
wait_until "a still final screen" settled && cp "$SHOT" "$WORK/final.png"
hold_until h "hall of fame" hall_shows
press_seen mouse 1 && wait_until "final screen again" same_as "$WORK/final.png"
hold_until space "next intro" intro_shows
escape_ends

# The game was kept: one result at row 0, walked away; --vysledky prints it.
(cd "$WORK/data" && "$BUILD/rebrik" --vysledky) >"$WORK/table.txt"
grep -q "^ 1\.  0  si nula" "$WORK/table.txt" && grep -q "^Hry: 1 " "$WORK/table.txt" ||
    fail "results: $(cat "$WORK/table.txt")"
# Questions of one's own keep a hall of their own: --otazky DIR prints that folder's, still empty.
(cd "$WORK" && "$BUILD/rebrik" --vysledky --otazky data) >"$WORK/own.txt"
grep -qx "Vlastné otázky: data" "$WORK/own.txt" && grep -q "^Hry: 0 " "$WORK/own.txt" || fail "own: $(cat "$WORK/own.txt")"
echo "test_window_player: passed"
