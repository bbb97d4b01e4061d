# The test program built again with AddressSanitizer and UndefinedBehaviorSanitizer in a second
# build folder (BUILD_DIR-asan), only it and the game's core library, at -O1 to build quicker, and
# run with leak detection, each test in its own process (as CTest runs them) two at a time. Any
# sanitizer report, like any failing test, fails this test.  Usage: test_sanitized.sh BUILD SOURCE
set -uo pipefail
ASAN="$(cd "$1" && pwd)-asan"
fail() { echo "FAIL: $*" >&2; exit 1; }
cmake -S "$2" -B "$ASAN" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DREBRIK_SANITIZE=ON \
    "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -g1 -DNDEBUG" >"$ASAN.log" 2>&1 &&
    cmake --build "$ASAN" -j"$(nproc)" --target rebrik_tests >>"$ASAN.log" 2>&1 || { tail -n 50 "$ASAN.log"; fail "sanitized build"; }
export ASAN_OPTIONS="detect_leaks=1:halt_on_error=1:detect_stack_use_after_return=1:check_initialization_order=1:strict_string_checks=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
cd "$ASAN/tests" || fail "no $ASAN/tests"
./rebrik_tests --gtest_list_tests | awk '/^[^ ]/ { suite = $1 } /^  / { print suite $1 }' |
    xargs -P "$(nproc)" -I{} sh -c './rebrik_tests --gtest_filter={} >{}.log 2>&1 || { echo "FAIL: {}"; cat {}.log; }' |
    tee "$ASAN/failures.log"
[ ! -s "$ASAN/failures.log" ] || fail "sanitized tests reported faults"
