# Headless games under Valgrind's memcheck: the sound test's games (every lifeline, a win, each
# with and without sound files) and a few random games.
# Any invalid read or write, use of an unset value or definitely lost block fails the test.
set -uo pipefail
cd "$1/tests" || exit 1
REBRIK_SOAK_GAMES=5 valgrind --error-exitcode=1 --errors-for-leak-kinds=definite --leak-check=full \
    ./rebrik_tests --gtest_filter=Sound.EveryMomentOnItsFrameAndSilentWithoutFiles:Soak.* >memcheck.log 2>&1
status=$?
grep -E "ERROR SUMMARY|definitely lost|^soak:|\[  (PASSED|FAILED)" memcheck.log
[ $status -eq 0 ] || { grep -E -B2 -A25 "Invalid|uninitialised|lost in|Failure" memcheck.log | head -n 150; exit 1; }
