# Player data on Windows, under Wine, through the game's own store (rebrik-store-test.exe), for
# a user whose name and so %APPDATA% hold Slovak letters: a game recorded while another program
# holds the results file open (as a virus scanner would) is on disk with the next game once the
# file is free; two writers at once lose nothing; without %APPDATA% the folder is the same.
BUILD=$1 SRC=$2 && source "$SRC/tests/scripts/wine_lib.sh"
export USER=Ľubomír LOGNAME=Ľubomír LC_ALL=C.UTF-8 # Wine names the profile's folder after $USER
unset DISPLAY && export HOME=$WORK
wineboot -i >/dev/null 2>&1 || fail "wineboot"
RESULTS=$WINEPREFIX/drive_c/users/Ľubomír/AppData/Roaming/Rebrik/vysledky.txt
STORE=$WIN_BUILD/rebrik-store-test.exe
games() { [ "$(grep -c "^hra" "$RESULTS")" = "$1" ] || fail "$(grep -c "^hra" "$RESULTS") games, not $1"; }

# Game 1 makes the file; game 2 comes while another program holds it, game 3 once it is free.
coproc WRITER { wine "$STORE" zapis 2>"$WORK/store.err"; }
# Asks the writer for a game and waits until it says game $1 was recorded.
ask() {
    echo >&"${WRITER[1]}" && read -r -t "$HANG" n <&"${WRITER[0]}" && [ "${n%$'\r'}" = "$1" ] ||
        fail "game $1: ${n:-none}, $(cat "$WORK/store.err")"
}
ask 1
mkfifo "$WORK/free" "$WORK/held" && { wine "$STORE" drz <"$WORK/free" >"$WORK/held" & }
HOLDER=$! && exec 5>"$WORK/free" 6<"$WORK/held"
read -r -t "$HANG" held <&6 && [ "${held%$'\r'}" = drzim ] || fail "the file is not held"
ask 2 && games 1
exec 5>&- 6<&- && wait $HOLDER || fail "the holder failed"
ask 3 && games 3 && eval "exec ${WRITER[1]}>&-" && wait "$WRITER_PID" || fail "the writer failed"
grep -q "subor ma otvoreny iny program" "$WORK/store.err" || fail "no reason given: $(cat "$WORK/store.err")"

# Two writers of twenty games each, at once.
seq 20 | wine "$STORE" zapis >/dev/null & seq 20 | wine "$STORE" zapis >/dev/null
wait && games 43 && [ -z "$(ls "${RESULTS%/*}" | grep poskodeny)" ] || fail "set aside: $(ls "${RESULTS%/*}")"
(cd "$WIN_BUILD" && echo | wine cmd /c 'set APPDATA=&& rebrik-store-test.exe zapis' >/dev/null) && games 44
echo "test_wine_store: passed"
