# Drives the real program from outside through the X server, as a player's
# mouse and keyboard do: finds its window, turns the game's 1280 by 720 layout
# units into screen pixels, clicks and holds keys with xdotool, takes
# screenshots of the whole screen and waits, with a time limit, for the screen
# to change; reaches the main menu and level 1 as a player does. Sourced by
# tests/xdotool_test.sh, bench/real_program.sh and bench/gl_calls.sh.
# Needs DISPLAY, xdotool and ImageMagick (import, compare, convert).

GAME_TITLE='^Morrow The Game$'
# How long a click or key is held: longer than a frame, also when the machine
# is so loaded that a frame takes a few hundred milliseconds.
HOLD_SECONDS=${HOLD_SECONDS:-0.4}
# Fraction of the screen's pixels that must change for "the screen changed".
CHANGE_FRACTION=${CHANGE_FRACTION:-0.02}

# The game's window id (empty when none); waits up to $1 seconds for it.
drive_find_window() {
    local limit=${1:-10} window="" tries
    tries=$((limit * 10))
    for _ in $(seq 1 "$tries"); do
        window=$(xdotool search --name "$GAME_TITLE" 2>/dev/null | head -1)
        [ -n "$window" ] && break
        sleep 0.1
    done
    echo "$window"
}

# Screen pixel of a layout point (x right, y up, origin at the window's centre),
# with the scale every screen uses: min(width / 1280, height / 720).
drive_design_to_screen() {
    local window=$1 x=$2 y=$3 geometry position
    geometry=$(xdotool getwindowgeometry "$window")
    position=$(echo "$geometry" | sed -n 's/.*Position: \([0-9-]*\),\([0-9-]*\).*/\1 \2/p')
    local size
    size=$(echo "$geometry" | sed -n 's/.*Geometry: \([0-9]*\)x\([0-9]*\).*/\1 \2/p')
    awk -v p="$position" -v s="$size" -v x="$x" -v y="$y" 'BEGIN {
        split(p, pos, " "); split(s, sz, " ");
        scale = sz[1] / 1280; if (sz[2] / 720 < scale) scale = sz[2] / 720;
        printf "%d %d\n", pos[1] + sz[1] / 2 + x * scale + 0.5, pos[2] + sz[2] / 2 - y * scale + 0.5 }'
}

# Moves the pointer over a layout point (the pointer also gives the window the
# keyboard: without a window manager, focus follows the pointer).
drive_point_at() {
    local window=$1 x=$2 y=$3
    # shellcheck disable=SC2046
    xdotool mousemove --sync $(drive_design_to_screen "$window" "$x" "$y")
}

# A left click where the pointer is: the button is held for a few frames, so
# the game's once-a-frame input poll sees it go down.
drive_click_here() {
    xdotool mousedown 1
    sleep "$HOLD_SECONDS"
    xdotool mouseup 1
}

# A left click at a layout point.
drive_click() {
    drive_point_at "$@"
    sleep 0.05
    drive_click_here
}

# Holds a key (an X keysym name such as Escape or q) for a few frames.
drive_key() {
    xdotool keydown "$1"
    sleep "$HOLD_SECONDS"
    xdotool keyup "$1"
}

# Screenshot of the whole screen into $1 (fast PNG compression).
drive_shot() {
    import -window root -quality 10 "$1"
}

# Mean brightness of a picture, 0 (black) to 1 (white).
drive_mean() {
    convert "$1" -format "%[fx:mean]" info:
}

# Whether a picture is blank: one flat colour (standard deviation under 0.01).
drive_blank() {
    local deviation
    deviation=$(convert "$1" -format "%[fx:standard_deviation]" info:)
    awk -v d="$deviation" 'BEGIN { exit !(d < 0.01) }'
}

# Number of pixels that differ between two pictures by more than a colour
# fuzz ($3 percent, else 5).
drive_diff() {
    compare -metric AE -fuzz "${3:-5}%" "$1" "$2" null: 2>&1 | sed 's/ .*//'
}

# Whether two pictures differ in more than a fraction ($3, else
# CHANGE_FRACTION) of their pixels (colour fuzz $4 percent, else 5).
drive_changed() {
    local count size
    count=$(drive_diff "$1" "$2" "${4:-5}")
    size=$(identify -format "%[fx:w*h]" "$1")
    awk -v c="$count" -v n="$size" -v f="${3:-$CHANGE_FRACTION}" 'BEGIN { exit !(c + 0 > n * f) }'
}

# Seconds since $1 (a `date +%s.%N` reading) exceed $2.
drive_past() {
    awk -v s="$1" -v n="$(date +%s.%N)" -v l="$2" 'BEGIN { exit !(n - s > l) }'
}

# Takes screenshots into $1 until two in a row differ in less than a fraction
# $3 (default CHANGE_FRACTION / 2) of their pixels: the screen's opening
# animations are over. At most $2 seconds; exit code 1 when it never settled.
drive_wait_settled() {
    local out=$1 limit=$2 fraction=${3:-$(awk -v f="$CHANGE_FRACTION" 'BEGIN { print f / 2 }')}
    local start last
    start=$(date +%s.%N)
    last=$(mktemp --suffix=.png)
    drive_shot "$last"
    while :; do
        sleep 0.2
        drive_shot "$out"
        if ! drive_changed "$last" "$out" "$fraction"; then
            rm -f "$last"
            return 0
        fi
        cp "$out" "$last"
        drive_past "$start" "$limit" && { rm -f "$last"; return 1; }
    done
}

# Takes screenshots into $2 until it differs from $1 by more than
# CHANGE_FRACTION, for at most $3 seconds. Exit code 0 when it changed.
drive_wait_change() {
    local reference=$1 out=$2 limit=$3 start
    start=$(date +%s.%N)
    while :; do
        drive_shot "$out"
        drive_changed "$reference" "$out" && return 0
        drive_past "$start" "$limit" && return 1
        sleep 0.1
    done
}

# Ends process $1 if it still runs: asked first, killed after 5 s.
drive_stop() {
    kill "$1" 2>/dev/null
    drive_wait_exit "$1" 5 || kill -9 "$1" 2>/dev/null
}

# Waits (at most 30 s) until process $1, a child of this shell, ends after $2
# ("the close button") and checks its exit code is 0; otherwise false, with
# what went wrong in DRIVE_ERROR. Forgets the pid either way.
drive_expect_clean_exit() {
    local code
    DRIVE_ERROR=""
    drive_wait_exit "$1" 30 || { DRIVE_ERROR="the game did not end after $2"; return 1; }
    wait "$1"
    code=$?
    pid=""
    [ "$code" -eq 0 ] || { DRIVE_ERROR="exit code $code after $2, not 0"; return 1; }
}

# Waits (at most $2 seconds) until process $1 has ended.
drive_wait_exit() {
    local pid=$1 limit=$2
    for _ in $(seq 1 $((limit * 10))); do
        kill -0 "$pid" 2>/dev/null || return 0
        sleep 0.1
    done
    return 1
}

# From the splash (skipped with Escape) to the main menu at rest; $2 is a
# scratch file for the screenshots that tell the menu is up.
drive_reach_menu() {
    local window=$1 shot=$2
    drive_point_at "$window" -600 250
    for _ in $(seq 1 20); do
        drive_key Escape
        drive_shot "$shot"
        awk -v m="$(drive_mean "$shot")" 'BEGIN { exit !(m > 0.2) }' && break
    done
    sleep 2 # the menu's opening
}

# From the main menu into level 1 with a few troops: Play, the first house,
# troops bought in both lanes; the pointer then rests below the field.
drive_play_level1() {
    local window=$1
    HOLD_SECONDS=0.5
    drive_click "$window" 0.7 100
    sleep 5
    drive_click "$window" -500 100
    sleep 8
    for point in "-572.5 310" "-442.5 258" "-312.5 310" "-572.5 258"; do
        # shellcheck disable=SC2086
        drive_click "$window" $point
        sleep 2.5 # the shared buy cooldown
    done
    drive_point_at "$window" 0 -330
}
