# The Debian package, built by CPack from this build: its files in Debian's places for games and
# nothing else, its dependencies read from the binaries, and nothing for lintian,
# desktop-file-validate or man to complain about.
BUILD=$1
SRC=$2
VERSION=$3
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
deb="$BUILD/rebrik_${VERSION}_amd64.deb"
rm -f "$deb"
(cd "$BUILD" && cpack -G DEB >"$WORK/cpack.log" 2>&1) || fail "cpack: $(cat "$WORK/cpack.log")"

# Exactly these files: the launcher, program, checker, menu entry, icons, manual pages, the
# documents Debian asks for, and every picture, question file and sound of data/.
shopt -s nullglob
data=("$SRC"/data/*.{bmp,tga,txt,wav})
[ ${#data[@]} -ge 8 ] || fail "only ${#data[@]} data files in $SRC/data"
{
    printf '%s\n' usr/games/rebrik usr/lib/games/rebrik/rebrik usr/bin/rebrik-check \
        usr/share/applications/rebrik.desktop usr/share/icons/hicolor/scalable/apps/rebrik.svg \
        usr/share/icons/hicolor/{48x48,128x128}/apps/rebrik.png \
        usr/share/man/{,sk/}man6/rebrik.6.gz usr/share/man/{,sk/}man1/rebrik-check.1.gz \
        usr/share/doc/rebrik/{copyright,changelog.gz} usr/share/lintian/overrides/rebrik
    for f in "${data[@]}"; do echo "usr/share/games/rebrik/${f##*/}"; done
} | sort >"$WORK/want"
dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { sub(/^\.\//, "", $6); print $6 }' | sort >"$WORK/got"
diff "$WORK/want" "$WORK/got" >&2 || fail "file list (< missing, > not expected)"

# The version is the project's, and dpkg-shlibdeps found the game library.
[ "$(dpkg-deb -f "$deb" Version)" = "$VERSION" ] || fail "version $(dpkg-deb -f "$deb" Version)"
dpkg-deb -f "$deb" Depends | grep -q '\bliballegro4' || fail "Depends: $(dpkg-deb -f "$deb" Depends)"

# No lintian error or warning (its note about running as root aside).
lint=$(lintian "$deb" 2>&1 | grep -v 'running with root privileges')
[ -z "$lint" ] || fail "lintian: $lint"

# The menu entry validates, and every manual page renders without a groff warning.
dpkg-deb -x "$deb" "$WORK/root"
out=$(desktop-file-validate "$WORK/root/usr/share/applications/rebrik.desktop" 2>&1) && [ -z "$out" ] ||
    fail "desktop-file-validate: $out"
for page in "$WORK"/root/usr/share/man/{,sk/}man?/*.gz; do
    out=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
    [ -z "$out" ] || fail "man ${page#$WORK/root}: $out"
done
[ "$(ls "$WORK"/root/usr/share/man/{,sk/}man?/*.gz | wc -l)" -eq 4 ] || fail "not four manual pages"
echo "package check passed: $deb"
