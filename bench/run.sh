#!/usr/bin/env bash
# The benchmark report in one command: builds what is missing, then, on a
# display of its own (Xvfb, 1920x1080, black root) with the dummy audio driver,
# prints the start-up time, each screen's Load time, the 200-troop battle's
# frame cost, the real program's CPU use per screen (main menu, level 1, level
# 1 with its window hidden) at 1920x1080 and at 1280x720, the peak
# resident memory, and last, apart from the timed parts, the OpenGL calls per
# frame of the menu, level 1 and the 200-troop battle (bench/gl_calls.sh,
# counted with apitrace).
# Usage: bench/run.sh [build folder (default build/)] [battle frames (default 300)]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export SDL_AUDIODRIVER=dummy

# Everything below runs on one private display; the figures go to stdout, the
# game's own console lines are dropped.
report() {
    local build=$1 frames=$2 root=$3
    echo "Morrow The Game benchmark report, $(date -u '+%Y-%m-%d %H:%M UTC')"
    echo "Machine: $(nproc) cores, $(sed -n 's/^model name\s*: //p' /proc/cpuinfo | head -1)," \
        "load average $(cut -d' ' -f1-3 /proc/loadavg) at the start"
    echo "Graphics: Xvfb 1920x1080, OpenGL in software (Mesa), no GPU"
    echo
    "$root/bench/real_program.sh" "$build" 5
    echo
    # The same screens on a smaller display (CPU figures only).
    xvfb-run -a -s "-screen 0 1280x720x24 -br" "$root/bench/real_program.sh" "$build" 0 |
        grep -v "peak resident"
    echo
    "$build/bench/load_bench" 3 2>/dev/null | grep -v '^[0-9.]*$'
    echo
    "$build/bench/battle_bench" "$frames" 2>/dev/null | grep -v '^[0-9.]*$'
    echo
    "$build/bench/frame_bench" 10 2>/dev/null
    echo
    "$root/bench/gl_calls.sh" "$build"
    echo
    echo "Load average at the end: $(cut -d' ' -f1-3 /proc/loadavg)"
}
# Inside the private display (this script runs itself there).
if [ "${1:-}" = "--report" ]; then
    set +eo pipefail # one benchmark failing leaves the others' figures
    report "$2" "$3" "$root"
    exit 0
fi

build=${1:-$root/build}
frames=${2:-300}
if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$build" -j2 --target morrow load_bench battle_bench frame_bench first_frame \
    x11_send_close >/dev/null
build=$(cd "$build" && pwd)
# On a shared machine other work would starve the game of its frames and its
# CPU figures with them: the report runs at a higher priority where allowed.
priority=()
if nice -n -10 true 2>/dev/null; then
    priority=(nice -n -10)
    echo "(running at nice -10: the CPU figures are what the game takes when it gets its frames)"
fi
"${priority[@]}" xvfb-run -a -s "-screen 0 1920x1080x24 -br" "$root/bench/run.sh" --report \
    "$build" "$frames"
