#!/usr/bin/env bash
# One-step set-up for Rebrik on Debian 12: installs the missing Debian packages, builds, and
# then plays the game on the bundled data ("play", passing the rest of the command line on to the
# game), runs every test through CTest, the Windows build's under Wine too ("test"), builds the Debian package
# build/rebrik_VERSION_amd64.deb ("package"), or cross-builds the Windows game, its setup
# program and portable zip into build-win ("windows").
set -euo pipefail
typed_in=$PWD
cd "$(dirname "$0")"

# What building and playing needs, what the Debian package needs on top (dpkg-shlibdeps and file
# for its dependencies, the tools that make the icons and manual pages), and what the tests need.
PLAY_PACKAGES=(build-essential cmake pkg-config liballegro4-dev)
PACKAGE_PACKAGES=(dpkg-dev file librsvg2-bin scdoc)
TEST_PACKAGES=(libgtest-dev libbenchmark-dev clang libclang-rt-14-dev xvfb xauth xdotool
    x11-apps x11-utils imagemagick valgrind openbox wmctrl lintian desktop-file-utils man-db)
# The cross-build for 64-bit Windows and its packages (packaging/windows), and Wine for its tests.
WINDOWS_PACKAGES=(cmake patch gcc-mingw-w64-x86-64-posix g++-mingw-w64-x86-64-posix
    binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev nsis zip unzip librsvg2-bin imagemagick wine wine64)

# Installs the named packages that dpkg does not list as installed; apt-get update runs once.
install_missing() {
    local missing=() sudo=""
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    [ "$(id -u)" -ne 0 ] && sudo=sudo
    $sudo apt-get update
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y "${missing[@]}"
}

build() {
    cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo && cmake --build build -j"$(nproc)"
}

case "${1:-}" in
play)
    install_missing "${PLAY_PACKAGES[@]}"
    # One line instead of the compiler's many; its output is shown only if the build fails.
    echo "Building Rebrik, the first time takes about a minute"
    mkdir -p build
    build >build/build.log 2>&1 || { status=$? && cat build/build.log && exit $status; }
    # The build's launcher starts the game in data/, a relative --otazky folder taken from the
    # folder the command was typed in, as the installed one does.
    cd "$typed_in"
    exec sh "$OLDPWD/build/launcher/tree/rebrik" "${@:2}"
    ;;
test)
    install_missing "${PLAY_PACKAGES[@]}" "${PACKAGE_PACKAGES[@]}" "${TEST_PACKAGES[@]}" \
        "${WINDOWS_PACKAGES[@]}"
    build
    # The Windows game and its packages, which the Wine tests play and install.
    bash packaging/windows/build.sh build-win
    # Every test removes what it makes: the run's temporary files go to a folder of its own,
    # which must be empty when the tests are done.
    TMPDIR=$(mktemp -d) && export TMPDIR
    status=0
    (cd build && ctest --output-on-failure -j"$(nproc)") || status=$?
    left=$(ls -A "$TMPDIR")
    rm -rf "$TMPDIR"
    [ -z "$left" ] || { echo "The tests left in the temporary folder: $left" >&2 && status=1; }
    exit $status
    ;;
package)
    install_missing "${PLAY_PACKAGES[@]}" "${PACKAGE_PACKAGES[@]}"
    build
    (cd build && cpack)
    ;;
windows)
    install_missing "${WINDOWS_PACKAGES[@]}"
    bash packaging/windows/build.sh build-win
    ;;
screenshots)
    install_missing "${PLAY_PACKAGES[@]}" "${TEST_PACKAGES[@]}"
    build
    bash tools/screenshots.sh "$PWD/build" "$PWD" "$PWD/docs"
    ;;
*)
    echo "usage: $0 play [GAME OPTIONS...] | test | package | windows | screenshots" >&2
    exit 2
    ;;
esac
