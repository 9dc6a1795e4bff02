#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, address and undefined-behaviour sanitizers, build/fuzz) and runs each one
# over its seed corpus in tests/fuzz/corpus and then on new inputs for the given number of seconds (default 600).
# New interesting inputs collect in build/fuzz/found/<target>; the seed corpus is only read. An input that
# crashes, trips a sanitizer, leaks, takes over a second (FUZZ_TIMEOUT) or breaks an invariant stops its target, is kept in
# build/fuzz/artifacts/<target>/ and fails the run; the input's log is printed.
#
#   scripts/fuzz.sh [seconds] [target...]
#
# FUZZ_TIMEOUT=N changes the limit per input from 1 s (./test.sh gives 5 s, so that a machine busy with other work
# does not fail it; an input over the limit is replayed alone with build/fuzz/tests/fuzz/<target>_fuzzer FILE).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
seconds=${1:-600}
shift || true

targets=(http_request_reader api_router history_loader settings_loader text_cleanup)
if [ $# -gt 0 ]; then
    targets=("$@")
fi

export CCACHE_BASEDIR="$root"
export CCACHE_NOHASHDIR=1
build=build/fuzz
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
    -DQUILLORA_FUZZ=ON -DQUILLORA_CHECK_THREADS=ON -DCMAKE_CXX_FLAGS="-D_GLIBCXX_ASSERTIONS" >/dev/null
cmake --build "$build" -j "$(nproc)" --target fuzzers

# The largest input each target is given. The HTTP reader's bound lies beyond its 16 KiB header limit, so that
# refusal is reached; the others stay small enough that one input is one quick request or file.
declare -A maxLength=([http_request_reader]=20000 [api_router]=8192 [history_loader]=8192
    [settings_loader]=4096 [text_cleanup]=4096)
declare -A dictionary=([http_request_reader]=tests/fuzz/http.dict [api_router]=tests/fuzz/http.dict)

# The stores' files go to a temporary folder per input; in memory their flushes cost nothing, and the targets
# run several times as fast.
if [ -d /dev/shm ] && [ -w /dev/shm ]; then
    export TMPDIR=/dev/shm
fi
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0"
export LSAN_OPTIONS="suppressions=$root/tests/support/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"

failed=()
for target in "${targets[@]}"; do
    found=$build/found/$target
    artifacts=$build/artifacts/$target/
    log=$build/logs/$target.log
    mkdir -p "$found" "$artifacts" "$(dirname "$log")"
    options=(-max_total_time="$seconds" -timeout="${FUZZ_TIMEOUT:-1}" -rss_limit_mb=2048 -max_len="${maxLength[$target]}"
        -artifact_prefix="$artifacts" -print_final_stats=1)
    if [ -n "${dictionary[$target]:-}" ]; then
        options+=(-dict="${dictionary[$target]}")
    fi
    start=$(date +%s)
    if "$build/tests/fuzz/${target}_fuzzer" "${options[@]}" "$found" "tests/fuzz/corpus/$target" >"$log" 2>&1; then
        runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
        echo "fuzz $target: ${runs:-?} inputs in $(($(date +%s) - start)) s, no findings"
    else
        echo "fuzz $target: FAILED (log: $log, inputs: $artifacts)"
        tail -n 60 "$log"
        failed+=("$target")
    fi
done

if [ ${#failed[@]} -gt 0 ]; then
    echo "fuzz: findings in ${failed[*]}"
    exit 1
fi
