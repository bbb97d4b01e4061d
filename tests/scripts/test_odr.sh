# The game, its tools and the tests built once more with link-time optimisation, at -O0 to keep
# it cheap, in BUILD-lto: the linker then compares the types of every file, and one name given
# two different types in two files (a One Definition Rule violation) fails.  Usage: test_odr.sh BUILD SRC
set -uo pipefail
LTO="$(cd "$1" && pwd)-lto"
cmake -S "$2" -B "$LTO" -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG=-O0 \
    "-DCMAKE_CXX_FLAGS=-flto=auto -Wodr -Werror=odr" >"$LTO.log" 2>&1 &&
    cmake --build "$LTO" -j"$(nproc)" >>"$LTO.log" 2>&1 ||
    { grep -E -A6 "error|Wodr" "$LTO.log" | head -n 80; echo "FAIL: the build with -flto -Wodr" >&2; exit 1; }
