# The player's data in a real window: H shows the hall of fame over the intro and the final
# screen and leaves each exactly as it was; F11 switches to full screen and back with the frame
# exact and remembers the mode; a finished game is kept, in the title and in --vysledky, and not
# in the hall of the same questions as a folder of one's own.
BUILD=$1
SRC=$2
source "$SRC/tests/scripts/window_lib.sh"

start_x 1280x1024 # no window manager: the window stands at 0,0; full screen is 2x at 0,32
make_data
cp "$SRC"/tests/data/game/*.txt "$WORK/data/"
# GAME_WINDOW: the game's window (made anew on each switch back from full screen).
found() { GAME_WINDOW=$(xdotool search --name '^Rebrik' | tail -n1) && [ -n "$GAME_WINDOW" ]; }
start_game
wait_until "a window" found
wait_until "intro" intro_shows
move_to 290 140 && sleep 0.2 && move_to 600 400 && sleep 0.3
capture "$WORK/intro.png"
hall_shows() { mean_is "400x40+120+220" 'b > 80 && r < 60'; }
same_as() { [ "$(compare -metric AE "$SHOT" "$1" null: 2>&1)" = 0 ]; }

# H over the intro and back: the intro frame exactly as before.
hold_key h 0.15 && wait_until "hall of fame" hall_shows
hold_key space 0.15 && wait_until "intro again" same_as "$WORK/intro.png"

# F11: full screen at 2x centred, the frame the same; F11 again: the window, the same.
fullscreen_frame() {
    xwd -silent -root | convert xwd:- -crop 1280x960+0+32 +repage -sample 640x480 "png:$SHOT" &&
        same_as "$WORK/intro.png"
}
hold_key F11 0.15 && sleep 1 && GAME_WINDOW="" && xdotool mousemove 1190 800 && sleep 0.1 && xdotool mousemove 1200 832
wait_until "the intro's frame at full screen" fullscreen_frame
grep -qx "cela-obrazovka=1" "$XDG_CONFIG_HOME/rebrik/nastavenia.txt" || fail "full screen not remembered"
hold_key F11 0.15 && sleep 1 && wait_until "a window again" found
move_to 590 390 && sleep 0.1 && move_to 600 400
wait_until "window again" same_as "$WORK/intro.png"
grep -qx "cela-obrazovka=0" "$XDG_CONFIG_HOME/rebrik/nastavenia.txt" || fail "window not remembered"

# Walking away at once ends on the final screen; H there and back leaves it as it was.
hold_key space 0.15 && wait_until "first question" answers_show
hold_key k 0.15 && wait_until "final screen" final_shows
sleep 1.5 && capture "$WORK/final.png"
hold_key h 0.15 && wait_until "hall of fame" hall_shows
xdotool mousedown 1 sleep 0.1 mouseup 1 && wait_until "final screen again" same_as "$WORK/final.png"
hold_key space 0.15 && wait_until "next intro" intro_shows
escape_ends

# The game was kept: one result at row 0, walked away; --vysledky prints it.
(cd "$WORK/data" && "$BUILD/rebrik" --vysledky) >"$WORK/table.txt"
grep -q "^ 1\.  0  si nula" "$WORK/table.txt" && grep -q "^Hry: 1 " "$WORK/table.txt" ||
    fail "results: $(cat "$WORK/table.txt")"
# Questions of one's own keep a hall of their own: --otazky DIR prints that folder's, still empty.
(cd "$WORK" && "$BUILD/rebrik" --vysledky --otazky data) >"$WORK/own.txt"
grep -qx "Vlastné otázky: data" "$WORK/own.txt" && grep -q "^Hry: 0 " "$WORK/own.txt" || fail "own: $(cat "$WORK/own.txt")"
echo "test_window_player: passed"
