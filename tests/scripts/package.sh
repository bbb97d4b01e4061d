# The Debian package CPack builds from this build, unpacked into a scratch root: "check" builds
# and checks it, "launch" starts what it installs.  Usage: package.sh BUILD SOURCE VERSION STEP
BUILD=$1 SRC=$2 && source "$SRC/tests/scripts/window_lib.sh"
VERSION=$3 root=$WORK/root
deb="$BUILD/rebrik_${VERSION}_amd64.deb"
[ "$4" != check ] || (rm -f "$deb" && cd "$BUILD" && cpack -G DEB >"$WORK/cpack.log" 2>&1) ||
    fail "cpack: $(cat "$WORK/cpack.log")"
dpkg-deb -x "$deb" "$root" || fail "cannot unpack $deb"

# Exactly these files: the launcher, program, checker, menu entry, icons, manual pages, the
# documents Debian asks for, and every picture, question file and sound of data/.
check() {
    shopt -s nullglob
    {
        printf '%s\n' usr/games/rebrik usr/lib/games/rebrik/rebrik usr/bin/rebrik-check \
            usr/share/applications/rebrik.desktop usr/share/icons/hicolor/scalable/apps/rebrik.svg \
            usr/share/icons/hicolor/{48x48,128x128}/apps/rebrik.png \
            usr/share/man/{,sk/}man6/rebrik.6.gz usr/share/man/{,sk/}man1/rebrik-check.1.gz \
            usr/share/doc/rebrik/{copyright,changelog.gz} usr/share/lintian/overrides/rebrik
        for f in "$SRC"/data/*.{bmp,tga,txt,wav}; do echo "usr/share/games/rebrik/${f##*/}"; done
    } | sort >"$WORK/want"
    dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { sub(/^\.\//, "", $6); print $6 }' | sort >"$WORK/got"
    diff "$WORK/want" "$WORK/got" >&2 || fail "file list (< missing, > not expected)"
    # The version is the project's, dpkg-shlibdeps found the game library, and xmessage, which
    # shows the game's messages, is recommended.
    control=$(dpkg-deb -f "$deb" Version Depends Recommends)
    [[ $control =~ ^Version:\ "$VERSION"$'\n'Depends:.*\ liballegro4.*$'\n'Recommends:\ x11-utils$ ]] ||
        fail "control: $control"
    # Nothing to say from lintian (its note about running as root aside), desktop-file-validate
    # on the menu entry, or groff's warnings on any of the four manual pages.
    # (lintian leaves temporary files behind: in a folder of the scratch one, removed with it)
    said=$(mkdir -p "$WORK/tmp" && TMPDIR="$WORK/tmp" lintian "$deb" 2>&1 | grep -v 'running with root privileges'
        desktop-file-validate "$root/usr/share/applications/rebrik.desktop" 2>&1
        for page in "$root"/usr/share/man/{,sk/}man?/*.gz; do
            LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null | sed "s|^|${page#$root}: |"
        done)
    [ -z "$said" ] || fail "$said"
}

# The installed checker accepts the installed questions; the launcher, started elsewhere with
# only readlink and dirname (no xmessage: a message would land in game.out), finds the program
# and data next to it, shows the intro with the ladder's titles, and ends on Escape with status 0.
launch() {
    "$root/usr/bin/rebrik-check" --werror "$root"/usr/share/games/rebrik/*.txt || fail "rebrik-check"
    mkdir "$WORK/bin" "$WORK/data" && ln -s /usr/bin/readlink /usr/bin/dirname "$WORK/bin/"
    start_x && GAME_PATH=$WORK/bin REBRIK_BIN=$root/usr/games/rebrik start_game
    wait_until "intro" intro_shows
    [ "$(white_in "120x420+500+30")" -gt 100 ] || fail "no ladder titles on the intro"
    escape_ends
}
"$4"
