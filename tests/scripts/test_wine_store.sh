# Player data on Windows, under Wine, through the game's own store (rebrik-store-test.exe), for
# a user whose name and so %APPDATA% hold Slovak letters: a game recorded while another program
# holds the results file open (as a virus scanner would) is on disk with the next game once the
# file is free; two writers at once lose nothing.
BUILD=$1
SRC=$2
source "$SRC/tests/scripts/wine_lib.sh"
export USER=Ľubomír LOGNAME=Ľubomír LC_ALL=C.UTF-8 # Wine names the profile's folder after $USER
unset DISPLAY && export HOME=$WORK
wineboot -i >/dev/null 2>&1 || fail "wineboot"
RESULTS=$WINEPREFIX/drive_c/users/Ľubomír/AppData/Roaming/Rebrik/vysledky.txt
STORE=$WIN_BUILD/rebrik-store-test.exe
# Starts the store with arguments $2... talking through fds: lines to it on $1, from it on $1+1.
talk() {
    mkfifo "$WORK/$1.in" "$WORK/$1.out"
    wine "$STORE" "${@:2}" <"$WORK/$1.in" >"$WORK/$1.out" 2>>"$WORK/store.err" &
    eval "exec $1>\"\$WORK/$1.in\" $(($1 + 1))<\"\$WORK/$1.out\""
}
# Sends a line on fd $1 and waits for the answer $2.
ask() {
    echo >&"$1" && read -r -t 120 answer <&"$(($1 + 1))" && [ "${answer%$'\r'}" = "$2" ] ||
        fail "asked for $2, got ${answer:-nothing}: $(cat "$WORK/store.err")"
}
games() { [ "$(grep -c "^hra" "$RESULTS")" = "$1" ] || fail "$(grep -c "^hra" "$RESULTS") games, not $1"; }

# Game 1 makes the file; game 2 comes while another program holds it, game 3 once it is free.
talk 3 zapis && ask 3 1
talk 5 drz && read -r -t 120 held <&6 && [ "${held%$'\r'}" = drzim ] || fail "not held"
ask 3 2 && games 1
echo >&5 && wait $! && ask 3 3 && games 3
exec 3>&- 5>&- 6<&- && wait
grep -q "subor ma otvoreny iny program" "$WORK/store.err" || fail "no reason given: $(cat "$WORK/store.err")"

# Two writers of twenty games each, at once.
seq 20 | wine "$STORE" zapis >/dev/null & seq 20 | wine "$STORE" zapis >/dev/null
wait && games 43 && [ -z "$(ls "${RESULTS%/*}" | grep poskodeny)" ] || fail "set aside: $(ls "${RESULTS%/*}")"
echo "test_wine_store: passed"
