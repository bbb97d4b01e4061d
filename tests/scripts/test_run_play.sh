# "./run.sh play ARGS" says one line, builds with the build's output kept in a log that is shown
# only when the build fails, and starts the game in data/ with ARGS exactly as given (none when
# none are given), a relative --otazky folder taken from where the command was typed. Run on a
# copy of run.sh where stubs stand in for dpkg-query, cmake and the game, and the build's
# launcher is made from the installed one's template.
SRC=$2
WORK=$(mktemp -d) && trap 'rm -rf "$WORK"' EXIT
mkdir -p "$WORK/bin" "$WORK/build/launcher/tree" "$WORK/data" "$WORK/typed" && cp "$SRC/run.sh" "$WORK/"
printf '#!/bin/sh\necho "install ok installed"\n' >"$WORK/bin/dpkg-query"
printf '#!/bin/sh\necho compiling\nexit ${CMAKE_FAILS:-0}\n' >"$WORK/bin/cmake"
printf '#!/bin/sh\nprintf "%%s|" "$PWD" "$#" "$@"\n' >"$WORK/build/rebrik"
sed 's|@REBRIK_PROGRAM_FROM_LAUNCHER@|../..|; s|@REBRIK_DATA_FROM_LAUNCHER@|../../../data|' \
    "$SRC/packaging/rebrik.sh.in" >"$WORK/build/launcher/tree/rebrik"
chmod +x "$WORK"/bin/* "$WORK/build/rebrik"
played() { (cd "$WORK/typed" && PATH="$WORK/bin:$PATH" ../run.sh play "${@:2}" 2>&1; echo "status $?") | tr '\n' ' '; }
is() { [ "$(played "$@")" = "Building Rebrik, the first time takes about a minute $1 " ] || { echo "FAIL: $(played "$@")" >&2 && exit 1; }; }
is "$WORK/data|4|--scale|2|two  words||status 0" --scale 2 "two  words" ''
is "$WORK/data|0|status 0"
is "$WORK/data|5|--otazky|$WORK/typed/q|--otazky=$WORK/typed/q|--otazky|/r|status 0" --otazky q --otazky=q --otazky /r
CMAKE_FAILS=3 is "compiling status 3"
