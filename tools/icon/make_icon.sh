#!/usr/bin/env bash
# Makes the window icon the game sets through the library (an XPM image in C) from our SVG.
# The result is committed as src/app/icon.xpm; run this again after changing the SVG:
#   bash tools/icon/make_icon.sh > src/app/icon.xpm
# Needs rsvg-convert (librsvg2-bin) and convert (imagemagick).
set -euo pipefail
SRC=$(cd "$(dirname "$0")/../.." && pwd)
rsvg-convert -w 48 -h 48 "$SRC/packaging/rebrik.svg" |
    convert png:- -channel A -threshold 50% +channel -colors 64 xpm:- |
    sed 's/^static const char \*_\[\]/static const char *rebrik_icon_xpm[]/'
