# The real game in a real window with each picture spoilt in turn: a text file, a PNG or the
# other picture format under its name, an empty file, a file cut short after its header, or a
# folder of that name. Each ends the
# game with the pictures message and status 1.
BUILD=$1
SRC=$2
source "$SRC/tests/scripts/window_lib.sh"

# Replaces picture $1 in the data folder by spoilt content of kind $2.
spoil() {
    local file="$WORK/data/$1"
    case $2 in
    text) printf 'toto nie je obrazok\n' >"$file" ;;
    png) convert "$SRC/data/$1" "png:$file" ;;
    other-format)
        # A .bmp saved as TGA and a .tga saved as BMP: right picture, wrong decoder.
        case $1 in
        *.bmp) convert "$SRC/data/$1" "tga:$file" ;;
        *.tga) convert "$SRC/data/$1" "bmp:$file" ;;
        esac
        ;;
    empty) : >"$file" ;;
    cut) head -c 40 "$SRC/data/$1" >"$file" ;;
    folder) rm -f "$file" && mkdir "$file" ;;
    esac
}

start_x
for image in kvmys.bmp pozadiep.tga zolici.bmp mili.tga exit.bmp; do
    for kind in text png other-format empty cut folder; do
        rm -rf "$WORK/data"
        make_data
        spoil "$image" "$kind"
        echo "$image as $kind"
        start_game
        wait_game 20
        [ $STATUS -eq 1 ] || fail "$image as $kind: status $STATUS, expected 1"
        grep -qx "Nemozem nacitat bitmapy" "$WORK/game.out" ||
            fail "$image as $kind: message $(cat "$WORK/game.out")"
    done
done
echo "spoilt pictures test passed"
