#!/usr/bin/env bash
# The real program under a real window manager (openbox), as a player sees it.
# Without its data folder it names every place it looked in, on one stderr
# line and in a message box, and ends with code 3. With it: it starts full
# screen, undecorated, covering the screen; O gives a decorated 1280 by 720
# window at (100, 100), where the game opened it, whose buttons take clicks; another window
# taking the focus silences the music and a click back brings it again, as
# minimising and restoring do; P returns to full screen; the window manager's
# close button ends the game with code 0. The music is heard through SDL's
# disk audio driver, which writes what the mixer plays into a file in real time.
# Usage: window_manager_test.sh <build folder> [folder for the screenshots]
# Needs a 1920x1080 display of its own (ctest gives it its own Xvfb), openbox,
# xdotool, x11-utils and ImageMagick.
set -u
build=$1
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
# shellcheck source=../bench/lib/x11_drive.sh
. "$here/../bench/lib/x11_drive.sh"
export XDG_RUNTIME_DIR=$(mktemp -d)
log=$(mktemp -d)
shots=${2:-$log}
mkdir -p "$shots"
pid="" others=""
fail() {
    echo "FAIL: $*"
    echo "screenshots in $shots"
    tail -5 "$log/err" 2>/dev/null
    [ -n "$pid" ] && drive_stop "$pid"
    # shellcheck disable=SC2086
    [ -n "$others" ] && kill $others 2>/dev/null
    exit 1
}
# Polls a command (at most $1 seconds) until it succeeds.
within() {
    local limit=$1 start
    shift
    start=$(date +%s.%N)
    until "$@"; do
        drive_past "$start" "$limit" && return 1
        sleep 0.2
    done
}
# The game window's client area on the screen, "WxH+X+Y", and its frame's
# left, right, top and bottom widths as the window manager reports them.
placement() { xwininfo -id "$window" | awk '/Absolute upper-left X/ { x = $NF } /Absolute upper-left Y/ { y = $NF }
    /Width:/ { w = $NF } /Height:/ { h = $NF } END { print w "x" h "+" x "+" y }'; }
frame() { xprop -id "$window" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g'; }
is_placed() { [ "$(placement)" = "$1" ]; }
is_framed() { [ "$(frame)" != "0 0 0 0" ] && [ -n "$(frame)" ]; }
# Loudest sample of the last quarter second the mixer played (16-bit stereo, 44.1 kHz).
loudness() {
    /usr/bin/python3 -c 'import sys, array
f = open(sys.argv[1], "rb"); f.seek(0, 2); n = f.tell() - 44100; f.seek(max(0, n - n % 4))
a = array.array("h", f.read(44100)); print(max(map(abs, a), default=0))' "$log/audio.raw"
}
is_silent() { [ "$(loudness)" -eq 0 ]; }
is_heard() { [ "$(loudness)" -gt 100 ]; }
is_viewable() { xwininfo -id "$window" | grep -q "IsViewable"; }

openbox --sm-disable >/dev/null 2>&1 &
others=$!
wm_running() { xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"; }
within 10 wm_running || fail "openbox did not start"

# Without its data folder: one line on stderr naming both places, a message
# box saying the same, exit code 3.
mkdir -p "$log/bare"
cp "$build/morrow" "$log/bare/morrow"
"$log/bare/morrow" >/dev/null 2>"$log/err" &
pid=$!
within 20 "$build/tests/x11_send_close" --exists "Data Folder Not Found" || fail "no 'Data Folder Not Found' box"
drive_shot "$shots/0-no-data.png"
"$build/tests/x11_send_close" "Data Folder Not Found"
drive_wait_exit "$pid" 10 || fail "the game without data did not end after its message box"
wait "$pid"
code=$?
pid=""
[ "$code" -eq 3 ] || fail "exit code $code without a data folder, not 3"
[ "$(wc -l <"$log/err")" -eq 1 ] || fail "$(wc -l <"$log/err") stderr lines without a data folder, not 1"
grep -q "Looked in: $log/bare/data, .*/share/games/morrow/data" "$log/err" ||
    fail "the stderr line does not name both places: $(cat "$log/err")"
echo "no data folder: $(cat "$log/err"), exit code 3"

# The game, its music written to a file.
SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$log/audio.raw" "$build/morrow" >/dev/null 2>"$log/err" &
pid=$!
window=$(drive_find_window 30)
[ -n "$window" ] || fail "no window titled 'Morrow The Game'"
within 10 is_placed 1920x1080+0+0 || fail "full screen is $(placement), not 1920x1080+0+0"
within 5 is_framed && fail "full screen has a frame: $(frame)"
# The main menu, with its music.
drive_point_at "$window" -600 250
drive_key Escape
within 20 is_heard || fail "no music on the main menu"
drive_wait_settled "$shots/1-full-screen.png" 6
echo "full screen: $(placement), no frame, music at $(loudness)"

# Another window takes the focus: the music goes silent; a click on the game
# brings it back.
xmessage -center "Another program" &
others="$others $!"
within 10 is_silent || fail "the music plays on behind another window ($(loudness))"
drive_shot "$shots/2-other-window.png"
drive_click "$window" 500 -300
within 10 is_heard || fail "the music did not come back after a click on the game"
echo "another window: music silent; a click back: music at $(loudness)"

# O: a decorated window of 1280 by 720 where the game opened it, at (100, 100).
drive_key o
within 10 is_placed 1280x720+100+100 || fail "the window is $(placement), not 1280x720+100+100"
within 5 is_framed || fail "the window has no frame"
drive_wait_settled "$shots/3-windowed.png" 6
echo "O: $(placement), frame $(frame)"

# A click on Play lands on it: the house selection follows; M goes back.
cp "$shots/3-windowed.png" "$log/menu.png"
drive_click "$window" 0.7 100
drive_wait_change "$log/menu.png" "$shots/4-play-clicked.png" 10 || fail "the click on Play did nothing"
drive_wait_settled "$log/house.png" 6
drive_key m
drive_wait_change "$log/house.png" "$log/back.png" 10 || fail "M did not leave the house selection"
echo "windowed: Play clicked, the house selection shown, M back to the menu"

# The title bar's buttons, from the right: close, maximise, minimise.
read -r _ right top _ <<<"$(frame)"
close_x=$((100 + 1280 + right - 12)) title_y=$((100 - top / 2))
# Minimised with its button: unseen and silent; restored: seen and heard again.
xdotool mousemove --sync $((close_x - 32)) "$title_y" click 1
within 10 is_silent || fail "the music plays on while minimised"
is_viewable && fail "the minimised window is still shown"
xdotool windowactivate "$window"
within 10 is_heard || fail "the music did not come back after the restore"
within 5 is_placed 1280x720+100+100 || fail "restored as $(placement)"
echo "minimised: music silent; restored: $(placement), music at $(loudness)"

# P: full screen again, undecorated.
drive_key p
within 10 is_placed 1920x1080+0+0 || fail "P gave $(placement), not 1920x1080+0+0"
within 5 is_framed && fail "full screen has a frame again: $(frame)"
echo "P: $(placement), no frame"

# The window manager's close button (the right-most button of the title bar).
drive_key o
within 10 is_placed 1280x720+100+100 || fail "the second O gave $(placement)"
xdotool mousemove --sync "$close_x" "$title_y" click 1
drive_expect_clean_exit "$pid" "the close button" || fail "$DRIVE_ERROR"
echo "close button: exit code 0"
# shellcheck disable=SC2086
kill $others 2>/dev/null
echo "1 passed, 0 failed"
