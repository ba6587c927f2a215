#!/usr/bin/env bash
# OpenGL calls per frame, counted from outside: each run is recorded with
# apitrace (Debian's "apitrace" package; nothing of it is built into the game)
# and its calls are counted between buffer swaps. Three runs:
# - the main menu idling (the real program, driven by xdotool);
# - level 1 with a few troops (the real program: a house chosen, four troops
#   bought in both lanes);
# - the 200-troop battle of bench/battle_bench.
# Prints, per run, the median over its last frames of the draw calls, the
# state changes (binds, program, enable/disable, blending, scissor, viewport,
# texture and sampler parameters, vertex layout), uniform uploads, buffer and
# texture uploads, the rest, and all calls. Tracing slows the game down, so
# this runs apart from the timed benchmarks.
# Usage: gl_calls.sh <build folder> [battle frames (default 60)]
# Needs a display with a black root window (Xvfb -br), as bench/run.sh makes.
set -u
build=$1
frames=${2:-60}
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
# shellcheck source=lib/x11_drive.sh
. "$here/lib/x11_drive.sh"
export SDL_AUDIODRIVER=dummy
export XDG_RUNTIME_DIR=$(mktemp -d)
work=$(mktemp -d)
build=$(cd "$build" && pwd)
cd "$work" || exit 1 # the game's own files (imgui.ini) stay out of the caller's folder
# Frames of the real program counted per screen, the last ones before the
# window is hidden. Traced on a loaded 2-core machine at 1920x1080 a frame
# took up to about 50 ms (105 frames from the start to 3 s of rest on the
# menu), so 60 frames lie inside the 5 s the tour rests on each screen.
SCREEN_FRAMES=60

command -v apitrace >/dev/null || {
    echo "GL calls per frame: not counted, apitrace is not installed (apt-get install apitrace)"
    exit 0
}

# One line per frame (calls up to a buffer swap): draws, state, uniforms,
# uploads, other, all.
frame_counts() {
    apitrace dump --call-nos=no --arg-names=no --multiline=no "$1" 2>/dev/null | awk -F'(' '
        $1 ~ /^glXSwapBuffers$/ { print d + 0, s + 0, u + 0, t + 0, o + 0, d + s + u + t + o
                                  d = s = u = t = o = 0; next }
        $1 !~ /^gl[A-Z]/ { next }
        $1 ~ /^gl(Multi)?Draw/ { d++; next }
        $1 ~ /^gl(Bind|UseProgram|Enable|Disable|Blend|Scissor|Viewport|ActiveTexture|TexParameter|SamplerParameter|PixelStore|VertexAttrib.*Pointer|ColorMask|Depth|ClearColor)/ { s++; next }
        $1 ~ /^glUniform/ { u++; next }
        $1 ~ /^gl(BufferData|BufferSubData|MapBuffer|MapBufferRange|UnmapBuffer|TexImage|TexSubImage)/ { t++; next }
        $1 !~ /^glX/ { o++ }'
}

# Median of each column over the last $2 frames of a trace, skipping the
# final $3 frames; printed as a row labelled $4.
median_row() {
    local counts=$1 last=$2 skip=$3 label=$4 total
    total=$(wc -l <"$counts")
    if [ "$total" -le $((skip + 1)) ]; then
        printf '  %-34s no frames recorded\n' "$label"
        return
    fi
    head -n $((total - skip)) "$counts" | tail -n "$last" >"$work/rows"
    printf '  %-34s' "$label ($(wc -l <"$work/rows") frames)"
    for c in 1 2 3 4 5 6; do
        printf ' %8d' "$(cut -d' ' -f$c "$work/rows" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }')"
    done
    printf '\n'
}

# Starts the real program under apitrace, as $pid.
start_traced() {
    apitrace trace -o "$1" "$build/morrow" >/dev/null 2>"$work/err" &
    pid=$!
}

# The game's window is hidden (no more frames are shown, so none are counted)
# and then closed; waits for it (and for apitrace to write the trace).
hide_and_close() {
    local pid=$1 window=$2
    xdotool windowunmap --sync "$window"
    "$build/tests/x11_send_close" "Morrow The Game" >/dev/null 2>&1
    drive_wait_exit "$pid" 60 || { kill "$pid" 2>/dev/null; drive_wait_exit "$pid" 5; }
}

# The main menu, from the splash (skipped with Escape) to a menu at rest.
reach_menu() {
    local window=$1
    drive_point_at "$window" -600 250
    for _ in $(seq 1 20); do
        drive_key Escape
        drive_shot "$work/menu.png"
        awk -v m="$(drive_mean "$work/menu.png")" 'BEGIN { exit !(m > 0.2) }' && break
    done
    sleep 2 # the menu's opening
}

echo "OpenGL calls per frame (apitrace, median of each column over the frames counted)"
printf '  %-34s %8s %8s %8s %8s %8s %8s\n' "" draws state uniform uploads other all

# 1. The main menu at rest.
start_traced "$work/menu.trace"
window=$(drive_find_window 60)
if [ -n "$window" ]; then
    reach_menu "$window"
    sleep 5
    hide_and_close "$pid" "$window"
    frame_counts "$work/menu.trace" >"$work/menu.counts"
    median_row "$work/menu.counts" "$SCREEN_FRAMES" 0 "main menu, idle"
else
    echo "  main menu: no window"
    kill "$pid" 2>/dev/null
fi
rm -f "$work/menu.trace"

# 2. Level 1 with a few troops (the tour of bench/real_program.sh).
start_traced "$work/level.trace"
window=$(drive_find_window 60)
if [ -n "$window" ]; then
    reach_menu "$window"
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
    sleep 5
    hide_and_close "$pid" "$window"
    frame_counts "$work/level.trace" >"$work/level.counts"
    median_row "$work/level.counts" "$SCREEN_FRAMES" 0 "level 1, a few troops"
else
    echo "  level 1: no window"
    kill "$pid" 2>/dev/null
fi
rm -f "$work/level.trace"

# 3. The 200-troop battle: its measured frames are the last ones but the
# shutdown's.
apitrace trace -o "$work/battle.trace" "$build/bench/battle_bench" "$frames" >/dev/null 2>&1
frame_counts "$work/battle.trace" >"$work/battle.counts"
median_row "$work/battle.counts" "$frames" 1 "200-troop battle"
rm -rf "$work" "$XDG_RUNTIME_DIR"
