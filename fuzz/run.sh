#!/usr/bin/env bash
# Builds the fuzz targets in build-fuzz (clang, libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs each one under Xvfb for FUZZ_SECONDS
# (default 60) from its committed seed corpus, then prints executions, coverage
# and findings per target. New inputs go to build-fuzz/fuzz/corpus-<target>
# (outside git); a crashing input is saved as build-fuzz/fuzz/<target>-crash-*.
# Usage: fuzz/run.sh [target...]   (default: animation text_layout; font_file
# fuzzes stb_truetype with whole font files and is run by naming it)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${MORROW_FUZZ_BUILD:-$root/build-fuzz}"
seconds="${FUZZ_SECONDS:-60}"
jobs="${MORROW_JOBS:-2}"
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(animation text_layout)

CC=/usr/bin/clang CXX=/usr/bin/clang++ cmake -S "$root" -B "$build" \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMORROW_SANITIZE=ON -DMORROW_FUZZ=ON \
    -DCMAKE_C_FLAGS="-fno-sanitize-recover=all" -DCMAKE_CXX_FLAGS="-fno-sanitize-recover=all" \
    >/dev/null
for t in "${targets[@]}"; do
    cmake --build "$build" -j"$jobs" --target "${t}_fuzz"
done

# Every report is fatal; leaks of the GL driver, X and SDL are not ours.
export ASAN_OPTIONS="halt_on_error=1:detect_leaks=1:allocator_may_return_null=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
export LSAN_OPTIONS="suppressions=$root/scripts/lsan.supp:print_suppressions=0"
export SDL_AUDIODRIVER=dummy

out="$build/fuzz"
status=0
summary=()
for t in "${targets[@]}"; do
    mkdir -p "$out/corpus-$t"
    log="$out/$t.log"
    echo "Fuzzing $t for $seconds s (log: $log)"
    result=0
    # stdin is /dev/null: a fuzzed path naming the terminal must not wait for it.
    xvfb-run -a -s "-screen 0 1280x720x24" "$out/${t}_fuzz" \
        -max_total_time="$seconds" -close_fd_mask=3 -print_final_stats=1 -timeout=10 \
        -rss_limit_mb=4096 -artifact_prefix="$out/$t-" \
        "$out/corpus-$t" "$root/fuzz/corpus/$t" </dev/null >"$log" 2>&1 || result=$?
    execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
    last=$(grep -E '^#[0-9]+' "$log" | tail -1)
    cov=$(sed -n 's/.* cov: \([0-9]*\).*/\1/p' <<<"$last")
    ft=$(sed -n 's/.* ft: \([0-9]*\).*/\1/p' <<<"$last")
    corp=$(sed -n 's/.* corp: \([0-9]*\/[0-9]*[a-zA-Z]*\).*/\1/p' <<<"$last")
    if [ $result -eq 0 ]; then verdict="no finding"; else verdict="FINDING (exit $result, see $log)"; status=1; fi
    summary+=("$t: ${execs:-?} executions (${rate:-?}/s), coverage ${cov:-?} edges, ${ft:-?} features, corpus ${corp:-?}: $verdict")
done
echo
printf '%s\n' "${summary[@]}"
exit $status
