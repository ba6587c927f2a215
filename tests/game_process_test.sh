#!/usr/bin/env bash
# The real program in a real window: it opens full screen titled "Morrow The
# Game", a second copy ends at once with code 1 while the first runs on, and a
# window close request ends it with code 0 and no "ERROR" report.
# Usage: game_process_test.sh <build folder>   (needs a 1920x1080 DISPLAY: ctest gives it its own Xvfb)
set -u
build=$1
# shellcheck source=../bench/lib/x11_drive.sh
. "$(dirname "${BASH_SOURCE[0]}")/../bench/lib/x11_drive.sh"
tools=$build/tests
export SDL_AUDIODRIVER=dummy
export XDG_RUNTIME_DIR=$(mktemp -d)
log=$(mktemp -d)
fail() { echo "FAIL: $*"; cat "$log/err" 2>/dev/null | tail -20; kill "$pid" 2>/dev/null; exit 1; }

"$build/morrow" >"$log/out" 2>"$log/err" &
pid=$!

# The window appears within a few seconds (real time: this is the real program).
window=""
for _ in $(seq 1 100); do
    window=$(xdotool search --name '^Morrow The Game$' 2>/dev/null | head -1)
    [ -n "$window" ] && break
    kill -0 "$pid" 2>/dev/null || fail "the game ended before opening its window"
    sleep 0.1
done
[ -n "$window" ] || fail "no window titled 'Morrow The Game'"
sleep 0.5 # let the switch to full screen take effect
geometry=$(xdotool getwindowgeometry "$window" | sed -n 's/.*Geometry: //p')
[ "$geometry" = "1920x1080" ] || fail "window is $geometry, not full screen 1920x1080"
echo "window: 1920x1080, titled 'Morrow The Game'"

timeout 10 "$build/morrow" >/dev/null 2>&1
second=$?
[ "$second" -eq 1 ] || fail "second copy ended with $second, not 1"
kill -0 "$pid" 2>/dev/null || fail "the first copy did not survive the second"
echo "second copy: exit code 1, first runs on"

"$tools/x11_send_close" "Morrow The Game" || fail "could not send the close request"
drive_expect_clean_exit "$pid" "the close request" || fail "$DRIVE_ERROR"
grep -q "NOT ALL RESOURCES" "$log/err" "$log/out" && fail "resources were left at exit"
echo "close request: exit code 0, no ERROR report"
# Graphics without OpenGL 3.3: the player is told so, and the program ends with
# code 2 (a failure never reports success).
MESA_GL_VERSION_OVERRIDE=3.0 "$build/morrow" >"$log/out" 2>"$log/err" &
pid=$!
box=""
for _ in $(seq 1 100); do
    "$tools/x11_send_close" --exists "OpenGL 3.3 Not Supported" && box=yes && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
done
[ -n "$box" ] || fail "no 'OpenGL 3.3 Not Supported' message box"
"$tools/x11_send_close" "OpenGL 3.3 Not Supported"
wait "$pid"
code=$?
[ "$code" -eq 2 ] || fail "exit code $code without OpenGL 3.3, not 2"
grep -q "OpenGL 3.3 is not supported! Please download latest GPU drivers!" "$log/err" ||
    fail "the message text is missing"
echo "no OpenGL 3.3: message box, exit code 2"
echo "1 passed, 0 failed"
