#!/usr/bin/env bash
# Installing the game, two ways. `install_test.sh <build>`: `cmake --install`
# into a fresh prefix. `install_test.sh <build> package`: the Debian package
# built from the build with cpack, checked by lintian, installed into this
# system with apt-get, and purged at the end (as root; never two at once).
# Either way the program, its data folder and the desktop icons are where
# Debian puts games, the desktop entry is valid, and the game started from
# its Exec line in another working directory finds its data (the main menu's
# pictures show, no file is reported missing) and ends with code 0 on a window
# close request. After the purge no file of the package is left.
# Needs a 1920x1080 DISPLAY: ctest gives it its own Xvfb.
set -u
build=$(cd "$1" && pwd)
mode=${2:-prefix}
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
# shellcheck source=../bench/lib/x11_drive.sh
. "$here/../bench/lib/x11_drive.sh"
export SDL_AUDIODRIVER=dummy
export XDG_RUNTIME_DIR=$(mktemp -d)
log=$(mktemp -d)
pid=""
fail() {
    echo "FAIL: $*"
    tail -20 "$log/err" 2>/dev/null
    [ -n "$pid" ] && drive_stop "$pid"
    exit 1
}
# What a package may touch: its own files, dpkg's record of it, and the
# folders its files go into (a desktop's triggers may update caches there).
# (Caches that triggers rebuild, such as the icon cache, are not counted.)
watched="/usr/games /usr/share/games /usr/share/applications /usr/share/icons/hicolor
    /usr/share/metainfo /usr/share/man/man6 /usr/share/doc/morrow"
snapshot() { { find $watched -xdev ! -name '*.cache'; ls -d /var/lib/dpkg/info/morrow.*; } 2>/dev/null | sort >"$1"; }

if [ "$mode" = package ]; then
    [ "$(id -u)" -eq 0 ] || { echo "SKIP: installing a package needs root"; exit 77; }
    # One package test on this system at a time; the purge runs on any exit.
    exec 9>/var/lock/morrow-package-test.lock
    flock -w 600 9 || fail "another package test holds the lock"
    dpkg -s morrow >/dev/null 2>&1 && fail "a morrow package is installed already: not touching it"
    # Ended from outside, or past its own limit (before ctest's, which kills
    # outright): still purged.
    (sleep 360 && kill -TERM $$) >/dev/null 2>&1 &
    watchdog=$!
    trap 'kill $watchdog; dpkg -s morrow >/dev/null 2>&1 && apt-get -o DPkg::Lock::Timeout=300 purge -y -qq morrow >/dev/null' EXIT
    trap 'exit 1' TERM INT HUP
    (cd "$build" && rm -f morrow_*.deb && cpack -G DEB) >"$log/cpack" 2>&1 || { cat "$log/cpack"; fail "cpack failed"; }
    deb=$(ls "$build"/morrow_*_amd64.deb 2>/dev/null)
    [ -f "$deb" ] || fail "cpack made no morrow_<version>_amd64.deb"
    dpkg-deb -f "$deb" Depends | grep -q libsdl2-2.0 || fail "no dependency on SDL2 read from the program"
    echo "package: $(basename "$deb"), Depends: $(dpkg-deb -f "$deb" Depends)"
    if command -v lintian >/dev/null; then
        lintian --tag-display-limit 0 "$deb" >"$log/lintian" 2>&1
        grep '^E:' "$log/lintian" && fail "lintian reports errors"
        echo "lintian: no error, $(grep -c '^W:' "$log/lintian") warnings"
    else
        echo "(lintian missing: install lintian)"
    fi
    snapshot "$log/before"
    (cd "$build" && DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=300 install -y -qq \
        "./$(basename "$deb")") >"$log/apt" 2>&1 || { cat "$log/apt"; fail "apt-get install failed"; }
    prefix=/usr
else
    # A prefix with a space, as in "/opt/my games": the desktop entry must quote it.
    prefix="$(mktemp -d)/my games"
    cmake --install "$build" --prefix "$prefix" >"$log/install" 2>&1 || {
        cat "$log/install"
        fail "cmake --install failed"
    }
fi

# The program, its data, the manual page and the software-centre metadata.
[ -x "$prefix/games/morrow" ] || fail "no program at games/morrow"
data=$prefix/share/games/morrow/data
for file in Icon.png MainMenuBG.png Animation/TarnAnim; do
    [ -s "$data/$file" ] || fail "data file $file is not installed"
done
built=$(cd "$build/data" && find . -type f | wc -l)
installed=$(cd "$data" && find . -type f | wc -l)
[ "$built" -eq "$installed" ] || fail "$installed data files installed, $built built"
[ -s "$prefix/share/man/man6/morrow.6.gz" ] || fail "no manual page man6/morrow.6.gz"
metainfo=$prefix/share/metainfo/org.morrowgame.morrow.metainfo.xml
appstreamcli validate --no-net "$metainfo" >"$log/appstream" 2>&1 ||
    { cat "$log/appstream"; fail "appstreamcli rejects $metainfo"; }
echo "program, $installed data files, manual page, metainfo installed"

# The desktop entry: valid, and its Exec starts the installed program.
desktop=$prefix/share/applications/morrow.desktop
desktop-file-validate "$desktop" || fail "desktop-file-validate rejects the desktop entry"
exec_line=$(sed -n 's/^Exec=//p' "$desktop")
program=$prefix/games/morrow
[ "$prefix" = /usr ] || program="\"$program\""
[ "$exec_line" = "$program" ] || fail "Exec=$exec_line, not $program"
grep -q '^Icon=morrow$' "$desktop" || fail "the desktop entry does not name the icon morrow"
echo "desktop entry valid, Exec=$exec_line"

# The icons, each in the folder of its own size.
for size in 64x64 128x128 256x256; do
    icon=$prefix/share/icons/hicolor/$size/apps/morrow.png
    [ "$(identify -format "%wx%h" "$icon" 2>/dev/null)" = "$size" ] || fail "no $size icon at $icon"
done
echo "icons: hicolor 64x64, 128x128, 256x256"

# The installed game from another working directory, started as the desktop
# entry starts it.
program=${exec_line#\"}
program=${program%\"}
(cd "$log" && exec "$program") >"$log/out" 2>"$log/err" &
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
drive_expect_clean_exit "$pid" "the close request" || fail "$DRIVE_ERROR"
echo "close request: exit code 0"

if [ "$mode" = package ]; then
    apt-get -o DPkg::Lock::Timeout=300 purge -y -qq morrow >"$log/apt" 2>&1 || { cat "$log/apt"; fail "purge failed"; }
    snapshot "$log/after"
    diff "$log/before" "$log/after" >"$log/left" || { cat "$log/left"; fail "the purge left files behind"; }
    echo "purged: $(wc -l <"$log/before") watched paths as before the install"
else
    rm -rf "$(dirname "$prefix")"
fi
echo "1 passed, 0 failed"
