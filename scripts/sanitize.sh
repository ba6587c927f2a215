#!/usr/bin/env bash
# Builds the game and its tests with AddressSanitizer and UndefinedBehaviorSanitizer
# in build-asan (RelWithDebInfo, no recovery from any UB report) and runs the whole
# test suite under Xvfb with the dummy audio driver. Any sanitizer report ends its
# test program with an error, so the run fails. Leaks whose stacks lie entirely in
# the system's GL driver, X, dbus and SDL libraries are suppressed (scripts/lsan.supp).
# Usage: scripts/sanitize.sh [extra ctest arguments, e.g. -R battle]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${MORROW_ASAN_BUILD:-$root/build-asan}"
jobs="${MORROW_JOBS:-2}"

# Mesa unloads its software driver (llvmpipe) when the display closes, before
# LeakSanitizer looks: memory the driver still holds then counts as leaked and
# its allocation stacks end in an unknown module that no suppression can name.
# Every program of this build therefore links the driver (by its soname, through
# a link in the build folder), so it stays loaded until the process ends.
pin_flags=""
driver=$(ls /usr/lib/*/dri/swrast_dri.so 2>/dev/null | head -1 || true)
if [ -n "$driver" ]; then
    soname=$(readelf -d "$driver" | sed -n 's/.*Library soname: \[\(.*\)\]/\1/p')
    soname="${soname:-swrast_dri.so}"
    mkdir -p "$build/gl-pin"
    ln -sf "$driver" "$build/gl-pin/$soname"
    pin_flags="-Wl,--no-as-needed $build/gl-pin/$soname -Wl,--as-needed -Wl,-rpath,$build/gl-pin"
fi

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMORROW_SANITIZE=ON \
      -DCMAKE_CXX_FLAGS="-fno-sanitize-recover=all" -DCMAKE_C_FLAGS="-fno-sanitize-recover=all" \
      -DCMAKE_EXE_LINKER_FLAGS="$pin_flags" >/dev/null
cmake --build "$build" -j"$jobs"

# Every report is fatal and makes the program exit with an error; leaks are
# checked at exit.
export ASAN_OPTIONS="halt_on_error=1:exitcode=23:detect_leaks=1:check_initialization_order=1:${ASAN_EXTRA_OPTIONS:-}"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1:exitcode=24"
export LSAN_OPTIONS="suppressions=$root/scripts/lsan.supp:print_suppressions=0"
export SDL_AUDIODRIVER=dummy

cd "$build"
start=$(date +%s)
status=0
xvfb-run -a -s "-screen 0 1920x1080x24" ctest --output-on-failure -j"$jobs" --timeout 600 "$@" || status=$?
echo "Sanitized suite: $(( $(date +%s) - start )) s, ctest exit code $status"
exit $status
