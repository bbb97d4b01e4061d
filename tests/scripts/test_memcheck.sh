# Headless games under Valgrind's memcheck: a scripted game through all fifteen questions and
# its final screen, then a few random games with prompts, lifelines and every way a game ends.
# Any invalid read or write, use of an unset value or definitely lost block fails the test.
# Usage: test_memcheck.sh BUILD_DIR SOURCE_DIR
set -uo pipefail
BUILD=$(cd "$1" && pwd)

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

command -v valgrind >/dev/null || fail "valgrind is not installed (./run.sh test installs it)"
log=$(mktemp)
trap 'rm -f "$log"' EXIT

# Runs one filtered test program under memcheck from the tests folder.
memcheck() {
    local program=$1 filter=$2
    [ -x "$BUILD/tests/$program" ] || fail "$BUILD/tests/$program is not built"
    (cd "$BUILD/tests" && valgrind --tool=memcheck --error-exitcode=1 \
        --errors-for-leak-kinds=definite --leak-check=full \
        "./$program" --gtest_filter="$filter") >"$log" 2>&1
    local status=$?
    grep -E "ERROR SUMMARY|definitely lost|^soak:|\[  (PASSED|FAILED)" "$log" | sed "s/^/$program: /"
    if [ $status -ne 0 ]; then
        grep -E -B2 -A25 "Invalid (read|write)|uninitialised|definitely lost in|Failure" "$log" |
            head -n 150 >&2
        fail "$program $filter: status $status under memcheck"
    fi
}

memcheck test_game Game.WinningAllFifteen
REBRIK_SOAK_GAMES=5 memcheck test_soak Soak.RandomGamesKeepTheRules
echo "memcheck passed"
