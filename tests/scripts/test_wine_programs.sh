# rebrik.exe, rebrik-check.exe and rebrik-bench.exe are self-contained: they import only DLLs
# that come with Windows, so no C++, GCC or pthread runtime has to lie beside them. Under Wine
# the checker finds the bundled banks sound in a folder given as --help shows, relative and
# named with Slovak letters, and the benchmark's short run loads the pictures,
# agrees with the blend rule and finishes.
BUILD=$1 SRC=$2 && source "$SRC/tests/scripts/wine_lib.sh"
SYSTEM="advapi32 comdlg32 ddraw dinput dinput8 dsound gdi32 kernel32 msvcrt ole32 shell32 user32 winmm"
for exe in rebrik rebrik-check rebrik-bench; do
    for dll in $(x86_64-w64-mingw32-objdump -p "$WIN_BUILD/$exe.exe" | awk '/DLL Name:/ { print tolower($3) }'); do
        [[ " $SYSTEM " == *" ${dll%.dll} "* ]] || fail "$exe.exe imports $dll"
    done
done
unset DISPLAY
mkdir "$WORK/$KVIZ" && cp "$SRC"/data/*.txt "$WORK/$KVIZ/"
(cd "$WORK" && wine "$WIN_BUILD/rebrik-check.exe" --werror "$KVIZ") >"$WORK/check.out" 2>&1 || fail "rebrik-check: $(cat "$WORK/check.out")"
wine "$WIN_BUILD/rebrik-bench.exe" --quick "Z:$SRC/data" >"$WORK/bench.out" 2>&1 || fail "rebrik-bench: $(cat "$WORK/bench.out")"
grep -q "ratios from the wall medians" "$WORK/bench.out" || fail "rebrik-bench: $(cat "$WORK/bench.out")"
