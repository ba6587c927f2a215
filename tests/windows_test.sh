#!/usr/bin/env bash
# The Windows build under Wine, on an Xvfb of its own, unpacked into a folder
# with a space in its path: its menu and level 1 match the Linux build's
# pixels, a bought knight changes the money read-out and the up lane, Q ends it
# with 0, a second copy ends with 1, and without the data folder it shows the
# message box and ends with 3. The compared screenshots stay beside the zip.
# Usage: windows_test.sh <zip> [Linux build folder, default build/]
set -u
[ -z "${MORROW_OWN_XVFB:-}" ] && MORROW_OWN_XVFB=1 exec xvfb-run -a -s "-screen 0 1920x1080x24" "$0" "$@"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
zip=$(realpath "$1") linux=$(realpath "${2:-$here/../build}") out=$(dirname "$(realpath "$1")")
# shellcheck source=../bench/lib/x11_drive.sh
. "$here/../bench/lib/x11_drive.sh"
HOLD_SECONDS=0.6 # a frame under Wine on a busy machine can be slow
wine=/usr/lib/wine/wine64 work=$(mktemp -d) pid=""
export WINEPREFIX="$out/wine-prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export SDL_AUDIODRIVER=dummy XDG_RUNTIME_DIR=$(mktemp -d)
finish() { [ -n "$pid" ] && drive_stop "$pid"; /usr/lib/wine/wineserver -k 2>/dev/null; rm -rf "$work" "$XDG_RUNTIME_DIR"; }
trap finish EXIT
fail() { echo "FAIL: $*"; tail -5 "$work/err" 2>/dev/null; exit 1; }

unzip -q "$zip" -d "$work/Morrow Game" || fail "cannot unpack $zip"
exe=$(echo "$work/Morrow Game"/*/morrow.exe)
[ -f "$exe" ] || fail "no morrow.exe in the zip"
$wine wineboot --init >/dev/null 2>&1 # the Wine prefix, made once
# Starts "$@" in the background and waits for its window; sets pid and window.
start_game() {
    "$@" >/dev/null 2>"$work/err" &
    pid=$!
    window=$(drive_find_window 120)
    [ -n "$window" ] || fail "no game window from $*"
}
# Skips the splash and waits until the menu has settled; its screenshot in $1.
reach_menu() {
    drive_point_at "$window" -600 250
    for _ in $(seq 1 40); do
        drive_key Escape
        drive_shot "$1"
        awk -v m="$(drive_mean "$1")" 'BEGIN { exit !(m > 0.2) }' && break
    done
    drive_wait_settled "$1" 60 || fail "the menu never settled"
}
# Waits for the game's end (after $2) and checks its exit code is $1.
expect_exit() {
    drive_wait_exit "$pid" 60 || fail "the game did not end after $2"
    wait "$pid"
    code=$? pid=""
    [ "$code" -eq "$1" ] || fail "exit code $code after $2, not $1"
}
# Crop of screenshot $1 around layout point ($2, $3), $4 by $5 units, into $6.
crop() {
    local x y
    read -r x y <<<"$(drive_design_to_screen "$window" "$(($2 - $4 / 2))" "$(($3 + $5 / 2))")"
    convert "$1" -crop "$(($4 * 3 / 2))x$(($5 * 3 / 2))+$x+$y" +repage "$6" # 1.5 px a unit
}
# Takes screenshots into $2 until one differs from the Linux build's $1 of
# screen $3 in under 3 % of its pixels (at most 60 s).
same_screen() {
    local start=$(date +%s.%N)
    until drive_shot "$2" && ! drive_changed "$1" "$2" 0.03; do
        drive_past "$start" 60 && fail "the $3 differs from the Linux build's in more than 3 %"
        sleep 0.5
    done
    awk -v d="$(drive_diff "$1" "$2")" -v s="$3" \
        'BEGIN { printf "%s: %.2f %% of pixels differ from the Linux build\n", s, d / 20736 }'
}
# Points at layout point ($1, $2) and clicks until the screen changes (5 tries).
click_until_change() {
    drive_point_at "$window" "$1" "$2"
    sleep 0.5 # the button's hover picture
    drive_shot "$work/unclicked.png"
    for _ in 1 2 3 4 5; do
        drive_click_here
        drive_wait_change "$work/unclicked.png" "$work/clicked.png" 5 && return 0
    done
    fail "a click at ($1, $2) did nothing"
}
# From the menu to level 1 (Play, the first house).
reach_level1() {
    click_until_change 0.7 100 # Play
    sleep 4 # the menu's curtain, the house selection's opening
    click_until_change -500 100 # the first house
    drive_point_at "$window" 0 -330 # the pointer off the lanes
}

start_game "$linux/morrow"
reach_menu "$out/menu-linux.png"
reach_level1
sleep 8 # its curtain, the level's loading and opening
# The field's grass sways through four pictures, about 1.8 % of the screen
# apart, faster than two screenshots come: settled means under 3 %.
drive_wait_settled "$out/level1-linux.png" 60 0.03 || fail "level 1 never settled"
drive_key q
expect_exit 0 Q
start_game $wine "$exe"
reach_menu "$work/menu.png"
same_screen "$out/menu-linux.png" "$out/menu-windows.png" menu

timeout 120 $wine "$exe" >/dev/null 2>&1
[ $? -eq 1 ] && kill -0 "$pid" && echo "second copy: exit code 1, the first runs on" ||
    fail "a second copy did not end with 1 alone"
reach_level1
same_screen "$out/level1-linux.png" "$out/level1-windows.png" "level 1"
drive_wait_settled "$out/level1-windows.png" 60 0.03 || fail "level 1 never settled" # its curtain
sleep 1 && drive_shot "$work/before.png" && sleep 1 && drive_shot "$work/still.png"
drive_click "$window" -572.5 310 # a knight, up lane
# A busy machine may take seconds to show it: wait up to 20 s for the money.
crop "$work/still.png" -20 330 300 40 "$work/money-still.png" && start=$(date +%s.%N)
until drive_shot "$work/knight.png" && crop "$work/knight.png" -20 330 300 40 "$work/money-knight.png" &&
    drive_changed "$work/money-still.png" "$work/money-knight.png" 0.02 25; do
    drive_past "$start" 20 && break
    sleep 0.5
done
# Money and lane hold still for a second before the purchase and change with
# it: over 2 % of a crop by over 25 % in colour (the swaying grass stays under).
for area in "money -20 330 300 40" "lane -450 100 200 120"; do
    read -r name x y w h <<<"$area"
    for shot in before still knight; do crop "$work/$shot.png" $x $y $w $h "$work/$name-$shot.png"; done
    drive_changed "$work/$name-before.png" "$work/$name-still.png" 0.02 25 &&
        fail "the $name changed before anything was bought"
    drive_changed "$work/$name-still.png" "$work/$name-knight.png" 0.02 25 ||
        fail "the $name did not change when a knight was bought"
done
cp "$work/knight.png" "$out/knight-windows.png" && echo "level 1: a knight bought (the money and the lane changed)"
drive_key q
expect_exit 0 Q && echo "Q: exit code 0"
mv "$(dirname "$exe")/data" "$(dirname "$exe")/data-gone"
"$wine" "$exe" >/dev/null 2>"$work/err" & pid=$!
box=$(timeout 120 xdotool search --sync --onlyvisible --name '^Data Folder Not Found$' 2>/dev/null | head -1)
[ -n "$box" ] || fail "no 'Data Folder Not Found' message box"
drive_shot "$out/no-data-box.png"
xdotool windowactivate --sync "$box" 2>/dev/null || xdotool windowfocus --sync "$box"
xdotool key --clearmodifiers Return # its OK button
expect_exit 3 "the message box without the data folder"
grep -q "data folder was not found" "$work/err" || fail "no line on stderr naming the folder"
echo "no data folder: message box, exit code 3"
echo "1 passed, 0 failed"
