# rebrik.exe and rebrik-check.exe are self-contained: they import only DLLs that come with
# Windows: no C++, GCC or pthread runtime has to lie beside them.
BUILD=$1
SRC=$2
source "$SRC/tests/scripts/wine_lib.sh"
SYSTEM="advapi32 comdlg32 ddraw dinput dinput8 dsound gdi32 kernel32 msvcrt ole32 shell32 user32 winmm"
for exe in rebrik rebrik-check; do
    for dll in $(x86_64-w64-mingw32-objdump -p "$WIN_BUILD/$exe.exe" | awk '/DLL Name:/ { print tolower($3) }'); do
        [[ " $SYSTEM " == *" ${dll%.dll} "* ]] || fail "$exe.exe imports $dll"
    done
done
