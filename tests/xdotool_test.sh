#!/usr/bin/env bash
# The real program driven from outside by real X input events, as a player
# plays it: skip the splash, Play, choose a house, reach level 1, buy a knight,
# Escape, Continue, then Q; the program ends with code 0. A screenshot of the
# whole screen after each step must not be blank and must differ from the one
# before. Real time cannot be avoided here: every wait polls for what the
# screen shows, with a time limit.
# Usage: xdotool_test.sh <build folder> [folder for the screenshots]
# Needs a 1920x1080 display (ctest gives it its own Xvfb), xdotool and ImageMagick.
set -u
build=$1
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
# shellcheck source=../bench/lib/x11_drive.sh
. "$here/../bench/lib/x11_drive.sh"
export SDL_AUDIODRIVER=dummy
export XDG_RUNTIME_DIR=$(mktemp -d)
shots=${2:-$(mktemp -d)}
mkdir -p "$shots"
log=$(mktemp -d)
pid=""
# How long to wait for a screen's opening animations to end. Curtains and the
# pause scroll take at most 2 s; the house banners and the battle field move
# for ever, so a screen that never settles costs this much and no more.
SETTLE=${SETTLE:-6}
fail() {
    echo "FAIL: $*"
    echo "screenshots in $shots"
    tail -20 "$log/err" 2>/dev/null
    [ -n "$pid" ] && drive_stop "$pid"
    exit 1
}

# One step's screenshot: not blank and unlike the step before.
previous=""
check_step() {
    local name=$1 shot=$shots/$1.png changed=-
    [ -f "$shot" ] || drive_shot "$shot"
    drive_blank "$shot" && fail "$name: the screen is blank"
    if [ -n "$previous" ]; then
        changed=$(drive_diff "$previous" "$shot")
        drive_changed "$previous" "$shot" 0.002 ||
            fail "$name: the screen did not change from the step before ($changed pixels)"
    fi
    echo "$name: mean brightness $(drive_mean "$shot"), $changed pixels changed (at $SECONDS s)"
    previous=$shot
}

# Does an action until the screen changes (at most `tries` times, `limit`
# seconds each), then waits for the new screen's opening to settle. Before each
# try the pointer is over its place and the screen has settled, and the change
# is measured from there: a button lit by the pointer is not a change, and a
# click that lands while a screen is still opening is given again.
act_until_change() {
    local name=$1 tries=$2 limit=$3 x=$4 y=$5
    shift 5
    for _ in $(seq 1 "$tries"); do
        drive_point_at "$window" "$x" "$y"
        drive_wait_settled "$log/before.png" "$SETTLE" || echo "($name: the screen before is still moving)"
        "$@"
        if drive_wait_change "$log/before.png" "$shots/$name.png" "$limit"; then
            drive_wait_settled "$shots/$name.png" "$SETTLE" || echo "($name: still moving after $SETTLE s)"
            return 0
        fi
    done
    fail "$name: the screen did not change after '$*'"
}

"$build/morrow" >"$log/out" 2>"$log/err" &
pid=$!
window=$(drive_find_window 20)
[ -n "$window" ] || fail "no window titled 'Morrow The Game'"

# The splash: the studio logo on black.
for _ in $(seq 1 100); do
    drive_shot "$shots/1-splash.png"
    drive_blank "$shots/1-splash.png" || break
    sleep 0.05
done
check_step 1-splash

# Escape skips it: the main menu. (The pointer first goes over the window: it
# gives the window the keyboard.)
# (No waiting for the splash to settle here: it would end on its own.)
drive_point_at "$window" -600 250
drive_key Escape
drive_wait_change "$previous" "$shots/2-main-menu.png" 10 || fail "2-main-menu: Escape did not skip the splash"
drive_wait_settled "$shots/2-main-menu.png" "$SETTLE" || echo "(2-main-menu: still moving after $SETTLE s)"
check_step 2-main-menu

# Play: the house selection.
act_until_change 3-house-select 3 10 0.7 100 drive_click_here
check_step 3-house-select

# The first house (Noblemen): level 1.
act_until_change 4-level1 3 10 -500 100 drive_click_here
drive_point_at "$window" 0 -330 # over the field only
drive_wait_settled "$shots/4-level1.png" $((SETTLE * 2))
rm -f "$shots/4-level1.png"
check_step 4-level1

# A knight for the upper lane: it walks in from the left end of the lane.
lane_box=450x180+60+300 # screen pixels of the lane's left part
convert "$previous" -crop "$lane_box" +repage "$log/lane-before.png"
drive_click "$window" -572.5 310
drive_point_at "$window" 0 -330 # away from the buy panel, so its hover art goes
sleep 1
drive_shot "$shots/5-knight.png"
convert "$shots/5-knight.png" -crop "$lane_box" +repage "$log/lane-after.png"
drive_changed "$log/lane-before.png" "$log/lane-after.png" 0.01 ||
    fail "5-knight: no knight walked into the upper lane"
check_step 5-knight

# Escape: the pause scroll opens.
act_until_change 6-paused 1 10 0 -330 drive_key Escape
check_step 6-paused

# Continue: the scroll closes and the battle runs on.
act_until_change 7-continued 3 10 0 85 drive_click_here
drive_point_at "$window" 0 -330
rm -f "$shots/7-continued.png"
check_step 7-continued

# Q: the program ends with code 0.
drive_key q
drive_wait_exit "$pid" 30 || fail "the game did not end after Q"
wait "$pid"
code=$?
pid=""
[ "$code" -eq 0 ] || fail "exit code $code after Q, not 0"
grep -q "NOT ALL RESOURCES" "$log/err" "$log/out" && fail "resources were left at exit"
echo "Q: exit code 0"
echo "1 passed, 0 failed"
