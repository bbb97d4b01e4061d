#!/bin/sh
# Starts Rebrik in its installed data folder, since the game reads its pictures and question
# files from the working directory.
here=$(dirname "$(readlink -f "$0")")
cd "$here/../share/rebrik" || exit 1
exec "$here/../lib/rebrik/rebrik" "$@"
