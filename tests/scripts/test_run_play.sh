# "./run.sh play ARGS" starts the game in data/ with ARGS exactly as given, and with none when none
# are given. Run on a copy of run.sh where stubs stand in for dpkg-query, cmake and the game.
SRC=$2
WORK=$(mktemp -d) && trap 'rm -rf "$WORK"' EXIT
mkdir "$WORK/bin" "$WORK/build" "$WORK/data" && cp "$SRC/run.sh" "$WORK/"
printf '#!/bin/sh\necho "install ok installed"\n' >"$WORK/bin/dpkg-query"
printf '#!/bin/sh\n' >"$WORK/bin/cmake"
printf '#!/bin/sh\nprintf "%%s|" "$PWD" "$#" "$@"\n' >"$WORK/build/rebrik"
chmod +x "$WORK"/bin/* "$WORK/build/rebrik"
played() { PATH="$WORK/bin:$PATH" "$WORK/run.sh" play "$@"; }
[ "$(played --scale 2 "two  words" '')" = "$WORK/data|4|--scale|2|two  words||" ] &&
    [ "$(played)" = "$WORK/data|0|" ] || { echo "FAIL: $(played --scale 2 "two  words" '')" >&2 && exit 1; }
