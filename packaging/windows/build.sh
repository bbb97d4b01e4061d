#!/usr/bin/env bash
# Cross-builds Rebrik for Windows into build-win (or the folder $1): Allegro 4.4.3.1 from the
# upstream tarball of Debian's source package, patched (packaging/windows/allegro-windows.patch) and built as a static
# library once (kept in build-win/allegro), then rebrik.exe, rebrik-check.exe, rebrik-bench.exe,
# the setup program and the portable zip. Needs the packages run.sh lists for "windows".
set -euo pipefail
SRC=$(cd "$(dirname "$0")/../.." && pwd)
OUT=$(mkdir -p "${1:-$SRC/build-win}" && cd "${1:-$SRC/build-win}" && pwd)
AL=$OUT/allegro
TARBALL=allegro4.4_4.4.3.1.orig.tar.gz
TARBALL_SHA256=ec19dbc9a021244582b4819b3583ee594b50141f9fcf6944a4ed8069cbf8d4d4
JOBS=${JOBS:-$(nproc)}

# The tarball through apt, from the mirrors this machine already uses for its packages, as
# source entries in a list of our own, so the machine's apt set-up stays as it is. Only the
# upstream tarball is needed.
fetch_tarball() {
    [ -f "$AL/$TARBALL" ] && return 0
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
    # The Debian patch tarball may be missing from the mirror: only the upstream one counts.
    (cd "$apt/get" && apt-get "${opts[@]}" source --download-only allegro4.4 || true)
    echo "$TARBALL_SHA256  $apt/get/$TARBALL" | sha256sum -c --quiet
    mv "$apt/get/$TARBALL" "$AL/$TARBALL"
    rm -rf "$apt"
}

# The static library, rebuilt only when the patch changes (its checksum is kept beside it).
build_allegro() {
    local stamp
    stamp=$(sha256sum "$SRC/packaging/windows/allegro-windows.patch" | cut -d' ' -f1)
    [ -f "$AL/install/lib/liballeg.a" ] && [ "$(cat "$AL/install/stamp" 2>/dev/null)" = "$stamp" ] && return 0
    fetch_tarball
    rm -rf "$AL/src" "$AL/build" "$AL/install"
    mkdir -p "$AL/src" && tar xzf "$AL/$TARBALL" -C "$AL/src" --strip-components=1
    patch -d "$AL/src" -p1 <"$SRC/packaging/windows/allegro-windows.patch"
    cmake -S "$AL/src" -B "$AL/build" -DCMAKE_TOOLCHAIN_FILE="$SRC/packaging/windows/mingw-w64.cmake" \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$AL/install" -DSHARED=OFF \
        -DWANT_EXAMPLES=OFF -DWANT_TOOLS=OFF -DWANT_TESTS=OFF -DWANT_DOCS=OFF -DWANT_ALLEGROGL=OFF \
        -DWANT_LOADPNG=OFF -DWANT_LOGG=OFF -DWANT_JPGALLEG=OFF >"$AL/configure.log"
    # The library's own warnings stay in its log, shown only when its build fails.
    cmake --build "$AL/build" -j"$JOBS" >"$AL/build.log" 2>&1 || { tail -n 40 "$AL/build.log" && exit 1; }
    cmake --install "$AL/build" >/dev/null
    echo "$stamp" >"$AL/install/stamp"
}

build_allegro
cmake -S "$SRC" -B "$OUT" -DCMAKE_TOOLCHAIN_FILE="$SRC/packaging/windows/mingw-w64.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DREBRIK_ALLEGRO_PREFIX="$AL/install" >/dev/null
cmake --build "$OUT" -j"$JOBS"
cmake --build "$OUT" --target windows_packages
