# Start-up failures of the real program: with no display it says it cannot start the graphics
# mode and reads no picture (each is a FIFO with no writer: opening one would block); under X
# a missing picture ends it with the pictures message. Each message is its exact text with
# its line feed on standard output, and the status is 1.
BUILD=$1
SRC=$2
source "$SRC/tests/scripts/window_lib.sh"

mkdir -p "$WORK/fifo"
for image in kvmys.bmp pozadiep.tga zolici.bmp mili.tga exit.bmp; do mkfifo "$WORK/fifo/$image"; done
(cd "$WORK/fifo" && env -u DISPLAY PATH=/usr/sbin:/sbin /usr/bin/timeout 10 "$BUILD/rebrik" >"$WORK/game.out" 2>/dev/null)
status=$?
[ $status -eq 1 ] || fail "no display: status $status, expected 1"
cmp -s "$WORK/game.out" <(printf 'Nemozem nastartovat graficky mod\n') || fail "no display: message"

start_x
make_data zolici.bmp
(cd "$WORK/data" && PATH=/usr/sbin:/sbin /usr/bin/timeout 20 "$BUILD/rebrik" >"$WORK/game.out" 2>/dev/null)
status=$?
[ $status -eq 1 ] || fail "missing zolici.bmp: status $status, expected 1"
cmp -s "$WORK/game.out" <(printf 'Nemozem nacitat bitmapy\n') || fail "missing zolici.bmp: message"
echo "window start-up test passed"
