#!/usr/bin/env bash
# Cross-builds Rebrik for Windows into build-win (or the folder $1): Allegro 4.4.3.1 from the
# upstream tarball of Debian's source package, patched (packaging/windows/allegro-windows.patch) and built as a static
# library once (kept in build-win/allegro), then rebrik.exe, rebrik-check.exe, rebrik-bench.exe,
# the setup program and the portable zip. Needs the packages run.sh lists for "windows".
# Prints one line a step; everything the tools say goes to build-win/build.log, whose end is
# shown when a step fails.
set -euo pipefail
SRC=$(cd "$(dirname "$0")/../.." && pwd)
OUT=$(mkdir -p "${1:-$SRC/build-win}" && cd "${1:-$SRC/build-win}" && pwd)
AL=$OUT/allegro
LOG=$OUT/build.log
TARBALL=allegro4.4_4.4.3.1.orig.tar.gz
TARBALL_SHA256=ec19dbc9a021244582b4819b3583ee594b50141f9fcf6944a4ed8069cbf8d4d4
JOBS=${JOBS:-$(nproc)}
PATCH_SUM=$(sha256sum "$SRC/packaging/windows/allegro-windows.patch" | cut -d' ' -f1)

# Runs the step "$2 ..." named $1 with its output in the log; a failure shows the log's end.
# The step runs as a job of its own so that set -e holds inside it (a function called on the
# left of || would run on past a failed command).
step() {
    local name=$1 status=0
    shift
    echo "$name"
    printf '\n== %s\n' "$name" >>"$LOG"
    "$@" >>"$LOG" 2>&1 &
    wait $! || status=$?
    [ $status -eq 0 ] && return 0
    echo "$name failed (status $status); the end of $LOG:" >&2
    tail -n 40 "$LOG" >&2
    exit 1
}

# The tarball through apt, from the mirrors this machine already uses for its packages, as
# source entries in a list of our own, so the machine's apt set-up stays as it is. Only the
# upstream tarball is fetched: Debian's own part of the source is not needed.
fetch_tarball() {
    local apt=$AL/apt
    mkdir -p "$apt/lists/partial" "$apt/get" "$apt/parts"
    for f in /etc/apt/sources.list.d/*.sources; do
        [ -f "$f" ] && sed 's/^Types: deb$/Types: deb-src/' "$f" >"$apt/parts/$(basename "$f")"
    done
    { cat /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null || true; } |
        sed -n 's/^deb \(.*\)/deb-src \1/p' >"$apt/sources.list"
    local opts=(-o Dir::Etc::SourceList="$apt/sources.list" -o Dir::Etc::SourceParts="$apt/parts"
        -o Dir::State::Lists="$apt/lists" -o APT::Sandbox::User=root)
    apt-get "${opts[@]}" update
    (cd "$apt/get" && apt-get "${opts[@]}" source --download-only --tar-only allegro4.4)
    echo "$TARBALL_SHA256  $apt/get/$TARBALL" | sha256sum -c --quiet
    mv "$apt/get/$TARBALL" "$AL/$TARBALL"
    rm -rf "$apt"
}

# The static library, patched; its patch's checksum is kept beside it.
build_allegro() {
    rm -rf "$AL/src" "$AL/build" "$AL/install"
    mkdir -p "$AL/src" && tar xzf "$AL/$TARBALL" -C "$AL/src" --strip-components=1
    patch -d "$AL/src" -p1 <"$SRC/packaging/windows/allegro-windows.patch"
    cmake -S "$AL/src" -B "$AL/build" -DCMAKE_TOOLCHAIN_FILE="$SRC/packaging/windows/mingw-w64.cmake" \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$AL/install" -DSHARED=OFF \
        -DWANT_EXAMPLES=OFF -DWANT_TOOLS=OFF -DWANT_TESTS=OFF -DWANT_DOCS=OFF -DWANT_ALLEGROGL=OFF \
        -DWANT_LOADPNG=OFF -DWANT_LOGG=OFF -DWANT_JPGALLEG=OFF
    cmake --build "$AL/build" -j"$JOBS"
    cmake --install "$AL/build"
    echo "$PATCH_SUM" >"$AL/install/stamp"
}

build_game() {
    cmake -S "$SRC" -B "$OUT" -DCMAKE_TOOLCHAIN_FILE="$SRC/packaging/windows/mingw-w64.cmake" \
        -DCMAKE_BUILD_TYPE=Release -DREBRIK_ALLEGRO_PREFIX="$AL/install"
    cmake --build "$OUT" -j"$JOBS"
}

: >"$LOG"
mkdir -p "$AL"
if [ -f "$AL/$TARBALL" ]; then
    echo "Allegro's source: fetched before"
else
    step "Fetching Allegro's source through apt" fetch_tarball
fi
if [ -f "$AL/install/lib/liballeg.a" ] && [ "$(cat "$AL/install/stamp" 2>/dev/null)" = "$PATCH_SUM" ]; then
    echo "Allegro: built before with this patch"
else
    step "Building Allegro (static, patched)" build_allegro
fi
step "Building the game" build_game
step "Making the setup program and the zip" cmake --build "$OUT" --target windows_packages
echo "Done: $OUT (the tools' output: $LOG)"
