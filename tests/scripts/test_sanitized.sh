# The headless test programs built again with AddressSanitizer and UndefinedBehaviorSanitizer,
# in a second build folder next to the first (BUILD_DIR-asan), and run with leak detection.
# Any sanitizer report, like any failing test, fails this test. The soak plays fewer games here
# (REBRIK_SOAK_GAMES, 100 unless set).
# Usage: test_sanitized.sh BUILD_DIR SOURCE_DIR
set -uo pipefail
BUILD=$(cd "$1" && pwd)
SRC=$(cd "$2" && pwd)
ASAN_BUILD="$BUILD-asan"

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

cmake -S "$SRC" -B "$ASAN_BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DREBRIK_SANITIZE=ON \
    >"$ASAN_BUILD.configure.log" 2>&1 || { cat "$ASAN_BUILD.configure.log"; fail "configure"; }
cmake --build "$ASAN_BUILD" -j"$(nproc)" >"$ASAN_BUILD.build.log" 2>&1 ||
    { tail -n 50 "$ASAN_BUILD.build.log"; fail "build"; }

# halt_on_error: the first report ends the program with a failure, so none goes unseen.
export ASAN_OPTIONS="detect_leaks=1:halt_on_error=1:detect_stack_use_after_return=1:check_initialization_order=1:strict_string_checks=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export REBRIK_SOAK_GAMES="${REBRIK_SOAK_GAMES:-100}"

programs=$(find "$ASAN_BUILD/tests" -maxdepth 1 -type f -name 'test_*' -perm -u+x | sort)
[ -n "$programs" ] || fail "no test programs in $ASAN_BUILD/tests"
logs=$(mktemp -d)
trap 'rm -rf "$logs"' EXIT

# Runs one program from the tests folder, as CTest would; its output goes to a log of its own.
run_one() {
    local name
    name=$(basename "$1")
    local start=$SECONDS
    (cd "$(dirname "$1")" && "$1") >"$logs/$name.log" 2>&1
    echo "$? $name $((SECONDS - start))" >"$logs/$name.status"
}
export -f run_one
export logs
printf '%s\n' $programs | xargs -P "$(nproc)" -I{} bash -c 'run_one {}'

failed=0
for p in $programs; do
    name=$(basename "$p")
    read -r status _ seconds <"$logs/$name.status"
    if [ "$status" -ne 0 ] || grep -qE "ERROR: (Address|Leak)Sanitizer|runtime error:" "$logs/$name.log"; then
        echo "FAIL: $name (status $status)" >&2
        grep -E -A40 "ERROR: (Address|Leak)Sanitizer|runtime error:|Failure" "$logs/$name.log" | head -n 120 >&2
        failed=1
    else
        echo "ok: $name (${seconds} s)"
    fi
done
[ $failed -eq 0 ] || fail "sanitized test programs reported faults"
echo "sanitized test programs passed"
