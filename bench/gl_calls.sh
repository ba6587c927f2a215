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

# Counts the frames of the real program on one screen: $1 names the run,
# $2 is the driving that brings the game there, after which it rests 5 s
# and its window is hidden and closed.
count_screen() {
    local label=$1 drive=$2 window
    start_traced "$work/game.trace"
    window=$(drive_find_window 60)
    if [ -z "$window" ]; then
        echo "  $label: no window"
        kill "$pid" 2>/dev/null
        return
    fi
    $drive "$window"
    sleep 5
    hide_and_close "$pid" "$window"
    frame_counts "$work/game.trace" >"$work/game.counts"
    median_row "$work/game.counts" "$SCREEN_FRAMES" 0 "$label"
    rm -f "$work/game.trace"
}

# The drivings of the two screens.
to_menu() {
    drive_reach_menu "$1" "$work/menu.png"
}
to_level1() {
    drive_reach_menu "$1" "$work/menu.png"
    drive_play_level1 "$1"
}

echo "OpenGL calls per frame (apitrace, median of each column over the frames counted)"
printf '  %-34s %8s %8s %8s %8s %8s %8s\n' "" draws state uniform uploads other all

count_screen "main menu, idle" to_menu
count_screen "level 1, a few troops" to_level1

# The 200-troop battle: its measured frames are the last ones but the
# shutdown's.
apitrace trace -o "$work/battle.trace" "$build/bench/battle_bench" "$frames" >/dev/null 2>&1
frame_counts "$work/battle.trace" >"$work/battle.counts"
median_row "$work/battle.counts" "$frames" 1 "200-troop battle"
rm -rf "$work" "$XDG_RUNTIME_DIR"
