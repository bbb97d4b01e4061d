# The test program and core library rebuilt with AddressSanitizer and UndefinedBehaviorSanitizer
# (at -O1, quicker to build) in BUILD-asan, run with leak detection, each test in its own process,
# two at a time: any sanitizer report or failing test fails it.  Usage: test_sanitized.sh BUILD SRC
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
