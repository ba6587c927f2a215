#!/usr/bin/env bash
# Installing the game: `cmake --install` into a fresh prefix puts the program
# beside its data folder, a bin/ link to it, a valid desktop entry whose Exec
# is that link, and the icon in the icon theme's folder of its size. The
# installed game, started through the link from another working directory,
# finds its data (the main menu's pictures show, no file is reported missing)
# and ends with code 0 on a window close request.
# Usage: install_test.sh <build folder>   (needs a 1920x1080 DISPLAY: ctest gives it its own Xvfb)
set -u
build=$1
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
# shellcheck source=../bench/lib/x11_drive.sh
. "$here/../bench/lib/x11_drive.sh"
export SDL_AUDIODRIVER=dummy
export XDG_RUNTIME_DIR=$(mktemp -d)
# A prefix with a space, as in "/opt/my games": the desktop entry must quote it.
prefix="$(mktemp -d)/my games"
log=$(mktemp -d)
pid=""
fail() {
    echo "FAIL: $*"
    tail -20 "$log/err" 2>/dev/null
    [ -n "$pid" ] && drive_stop "$pid"
    exit 1
}

cmake --install "$build" --prefix "$prefix" >"$log/install" 2>&1 || {
    cat "$log/install"
    fail "cmake --install failed"
}

# The program, its data and the link.
[ -x "$prefix/lib/morrow/morrow" ] || fail "no program at lib/morrow/morrow"
[ -L "$prefix/bin/morrow" ] || fail "bin/morrow is not a link"
[ "$(readlink -f "$prefix/bin/morrow")" = "$(readlink -f "$prefix/lib/morrow/morrow")" ] ||
    fail "bin/morrow does not lead to lib/morrow/morrow"
for file in Icon.png MainMenuBG.png Animation/TarnAnim; do
    [ -s "$prefix/lib/morrow/data/$file" ] || fail "data file $file is not installed"
done
built=$(cd "$build/data" && find . -type f | wc -l)
installed=$(cd "$prefix/lib/morrow/data" && find . -type f | wc -l)
[ "$built" -eq "$installed" ] || fail "$installed data files installed, $built built"
echo "program, bin link and $installed data files installed"

# The desktop entry: valid, and its Exec starts the installed program.
desktop=$prefix/share/applications/morrow.desktop
[ -f "$desktop" ] || fail "no share/applications/morrow.desktop"
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$desktop" || fail "desktop-file-validate rejects the desktop entry"
else
    echo "(desktop-file-validate missing: install desktop-file-utils)"
fi
exec_line=$(sed -n 's/^Exec=//p' "$desktop")
[ "$exec_line" = "\"$prefix/bin/morrow\"" ] || fail "Exec=$exec_line, not \"$prefix/bin/morrow\""
grep -q '^Icon=morrow$' "$desktop" || fail "the desktop entry does not name the icon morrow"
echo "desktop entry valid, Exec=$exec_line"

# The icon, in the folder of its own size.
icon=$(find "$prefix/share/icons/hicolor" -path '*/apps/morrow.png' | head -1)
[ -n "$icon" ] || fail "no share/icons/hicolor/<size>/apps/morrow.png"
size=$(identify -format "%wx%h" "$icon")
[ "$icon" = "$prefix/share/icons/hicolor/$size/apps/morrow.png" ] ||
    fail "icon of $size in $(dirname "$(dirname "$icon")")"
echo "icon: hicolor/$size/apps/morrow.png"

# The installed game from another working directory, started as the desktop
# entry starts it.
program=${exec_line#\"}
program=${program%\"}
(cd / && exec "$program") >"$log/out" 2>"$log/err" &
pid=$!
window=$(drive_find_window 30)
[ -n "$window" ] || fail "the installed game opened no window"
# Its main menu (the splash is skipped) shows: pictures from the data folder.
drive_point_at "$window" -600 250
menu=""
for _ in $(seq 1 20); do
    drive_key Escape
    drive_shot "$log/screen.png"
    # The menu is bright pictures; the splash is a logo on black.
    if awk -v m="$(drive_mean "$log/screen.png")" 'BEGIN { exit !(m > 0.2) }'; then
        menu=yes
        break
    fi
    kill -0 "$pid" 2>/dev/null || fail "the installed game ended on its own"
done
[ -n "$menu" ] || fail "the main menu's pictures never showed"
echo "main menu shown (mean brightness $(drive_mean "$log/screen.png"))"
grep -i "cannot open\|missing\|not found" "$log/err" && fail "the installed game misses files"

"$build/tests/x11_send_close" "Morrow The Game" || fail "could not send the close request"
drive_wait_exit "$pid" 30 || fail "the installed game did not end after the close request"
wait "$pid"
code=$?
pid=""
[ "$code" -eq 0 ] || fail "exit code $code after the close request, not 0"
echo "close request: exit code 0"
rm -rf "$(dirname "$prefix")"
echo "1 passed, 0 failed"
