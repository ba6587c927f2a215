#!/usr/bin/env bash
# The real program measured from outside (no measuring code in the game):
# - time from its start to the first picture on the screen, over several
#   starts (bench/tools/first_frame.c polls the black root window);
# - its CPU use (utime + stime from /proc/<pid>/stat, all its threads, with
#   the real frame loop) on each screen of a short tour: 10 s idling on the
#   main menu, 10 s of level 1 with a few troops, and 5 s of level 1 with the
#   window hidden (unmapped, as a minimised window is);
# - its peak resident memory (VmHWM of /proc/<pid>/status) on the menu and
#   after a tour of level 1 (a house chosen, troops bought in both lanes, the
#   pause scroll opened and closed), driven by real X input (xdotool).
# Usage: real_program.sh <build folder> [starts (0: CPU figures only)]
# Needs a display with a black root window (Xvfb -br); the figures are
# labelled with its size.
set -u
build=$1
starts=${2:-5}
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
# shellcheck source=lib/x11_drive.sh
. "$here/lib/x11_drive.sh"
export SDL_AUDIODRIVER=dummy
export XDG_RUNTIME_DIR=$(mktemp -d)
work=$(mktemp -d)
ticks=$(getconf CLK_TCK)

# CPU seconds (user + system) a process has used.
cpu_seconds() {
    awk -v t="$ticks" '{ print ($14 + $15) / t }' "/proc/$1/stat"
}
# CPU use of process $1 over $2 seconds, printed as "$3 (<size>): N % of one
# core"; a process that is gone by the end gives no figure.
cpu_over() {
    local pid=$1 seconds=$2 label=$3 c0 c1 w0 w1
    c0=$(cpu_seconds "$pid" 2>/dev/null) && w0=$(date +%s.%N) && sleep "$seconds" &&
        c1=$(cpu_seconds "$pid" 2>/dev/null) && w1=$(date +%s.%N) && kill -0 "$pid" 2>/dev/null || {
        echo "  CPU $label ($screen): not measured, the game ended"
        return 1
    }
    awk -v c0="$c0" -v c1="$c1" -v w0="$w0" -v w1="$w1" -v l="$label" -v s="$screen" 'BEGIN {
        printf "  CPU %s (%s): %.1f %% of one core (%.2f s CPU in %.1f s)\n",
               l, s, 100 * (c1 - c0) / (w1 - w0), c1 - c0, w1 - w0 }'
}
# Peak resident memory of a process, in MiB.
peak_mib() {
    awk '/^VmHWM:/ { printf "%.1f", $2 / 1024 }' "/proc/$1/status"
}
# True while the game runs; otherwise says which step failed, so no figure is
# ever read from a process that is gone.
still_running() {
    kill -0 "$1" 2>/dev/null && [ -r "/proc/$1/stat" ] && return 0
    local code
    wait "$1" 2>/dev/null
    code=$?
    echo "  $2: step failed, the program is not running (it ended with code $code)"
    return 1
}
# Ends the game with a close request and waits for it.
close_game() {
    "$build/tests/x11_send_close" "Morrow The Game" >/dev/null 2>&1
    drive_wait_exit "$1" 30 || kill "$1" 2>/dev/null
    drive_wait_exit "$1" 5
}

screen=$(xdotool getdisplaygeometry | tr ' ' x)
echo "The real program ($build/morrow) on a ${screen} screen, measured from outside"
# 1. Start to first picture.
times=()
for _ in $(seq 1 "$starts"); do
    result=$("$build/bench/first_frame" "$build/morrow" 2>"$work/err") || {
        echo "  first_frame failed: $(cat "$work/err")"
        # A program it left running would make the next start a second copy.
        pkill -f "^$build/morrow\$" 2>/dev/null
        sleep 1
        break
    }
    read -r window_ms frame_ms pid <<<"$result"
    times+=("$window_ms $frame_ms")
    close_game "$pid"
done
printf '%s\n' "${times[@]}" | awk 'NF == 2' | sort -n -k2 | awk '
    { w[NR] = $1; f[NR] = $2; n = NR }
    END { if (n == 0) exit;
          m = int((n + 1) / 2);
          printf "  start to window shown:      median %.0f ms\n", w[m];
          printf "  start to first frame drawn: median %.0f ms (min %.0f, max %.0f; %d starts)\n", f[m], f[1], f[n], n }'

# 2. Idle on the main menu.
"$build/morrow" >/dev/null 2>"$work/err" &
pid=$!
window=$(drive_find_window 30)
[ -n "$window" ] || { echo "  no window"; exit 1; }
drive_reach_menu "$window" "$work/menu.png"
cpu_over "$pid" 10 "idling on the main menu" || exit 1
still_running "$pid" "peak resident memory on the main menu" || exit 1
echo "  peak resident memory on the main menu: $(peak_mib "$pid") MiB"

# 3. A tour of level 1: Play, the first house, troops in both lanes, pause, continue.
drive_play_level1 "$window"
cpu_over "$pid" 10 "in level 1 with a few troops"
xdotool windowunmap --sync "$window"
sleep 1
cpu_over "$pid" 5 "in level 1 with the window hidden"
xdotool windowmap --sync "$window"
drive_point_at "$window" 0 -330
sleep 1
drive_key Escape
sleep 3
drive_click "$window" 0 85
sleep 3
drive_shot "$work/level.png"
still_running "$pid" "peak resident memory after touring level 1" || exit 1
echo "  peak resident memory after touring level 1: $(peak_mib "$pid") MiB" \
    "(screen mean $(drive_mean "$work/level.png"))"
drive_key q
drive_wait_exit "$pid" 30 || close_game "$pid"
rm -rf "$work"
