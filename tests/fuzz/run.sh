#!/usr/bin/env bash
# Builds and runs the libFuzzer targets (clang, address and undefined-behaviour sanitizers)
# in build/fuzz.
#
#   tests/fuzz/run.sh build                  configure and build the targets
#   tests/fuzz/run.sh smoke [SECONDS]        each target for SECONDS (20), as test.sh runs them
#   tests/fuzz/run.sh long TARGET [RUNS] [SECONDS]
#                                            one target for RUNS executions (10,000,000), or
#                                            until SECONDS have passed; one process, one core
#
# TARGET is script, drawing or dialog_template. Each run starts from the seed corpus in
# tests/fuzz/corpus/TARGET, copied to build/fuzz/corpus/TARGET, where new inputs collect;
# a crashing input is written to build/fuzz/artifacts/TARGET/. Exit code 1 on a finding.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=$root/build/fuzz
targets=(script drawing dialog_template)

# Longest input per target: script lines beyond the reader's 512 characters, formats beyond
# the 1023 a line keeps.
max_len() {
    case $1 in
        script) echo 8192 ;;
        drawing) echo 8192 ;;
        *) echo 4096 ;;
    esac
}

build_targets() {
    CC=clang CXX=clang++ cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build "$build" -j "${SKTCH_FUZZ_BUILD_JOBS:-2}" >/dev/null
}

# Runs one target, logging to build/fuzz/TARGET-KIND.log, with libFuzzer's options after
# the kind; reports the executions, or the finding.
run_target() {
    local target=$1 kind=$2
    shift 2
    local corpus=$build/corpus/$target artifacts=$build/artifacts/$target
    mkdir -p "$corpus" "$artifacts"
    cp -n "$here/corpus/$target/"* "$corpus/" 2>/dev/null || true
    local log=$build/$target-$kind.log
    local status=0
    LSAN_OPTIONS="suppressions=$root/tests/lsan.supp:print_suppressions=0" \
        UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1" \
        "$build/fuzz_$target" -max_len="$(max_len "$target")" -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$artifacts/" "$@" "$corpus" >"$log" 2>&1 ||
        status=$?
    if [ "$status" -ne 0 ]; then
        echo "fuzz_$target: FAILED (exit code $status); log $log" >&2
        grep -E -A30 'ERROR|runtime error|deadly signal|Test unit written' "$log" | head -60 >&2
        return 1
    fi
    local runs
    runs=$(grep -E '^stat::number_of_executed_units' "$log" | awk '{print $2}')
    echo "fuzz_$target: passed, $runs executions; log $log"
}

command=${1:-smoke}
case $command in
    build)
        build_targets
        ;;
    smoke)
        seconds=${2:-20}
        build_targets
        status=0
        for target in "${targets[@]}"; do
            run_target "$target" smoke -max_total_time="$seconds" || status=1
        done
        exit $status
        ;;
    long)
        target=${2:?which target: script, drawing or dialog_template}
        runs=${3:-10000000}
        limit=()
        [ -n "${4:-}" ] && limit=(-max_total_time="$4")
        build_targets
        start=$(date +%s)
        run_target "$target" long -runs="$runs" "${limit[@]}"
        echo "fuzz_$target: $(($(date +%s) - start)) seconds"
        ;;
    *)
        echo "usage: $0 build | smoke [SECONDS] | long TARGET [RUNS] [SECONDS]" >&2
        exit 2
        ;;
esac
