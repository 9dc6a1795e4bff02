#!/bin/bash
# Builds the benchmarks in an optimised build and runs them. Not part of ./test.sh.
#   ./bench.sh                 every benchmark below
#   ./bench.sh text_cleanup    only the named ones
# BUILD_DIR (default build/bench) and JOBS (default 1) can be set in the environment.
set -euo pipefail
cd "$(dirname "$0")"

# One benchmark target per line; add yours here.
BENCHMARKS=(
    api_load
    history_store
    recognition
    text_cleanup
)

BUILD_DIR=${BUILD_DIR:-build/bench}
JOBS=${JOBS:-1}
if [ $# -gt 0 ]; then
    BENCHMARKS=("$@")
fi

./scripts/install-deps.sh
cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUILLORA_BUILD_TESTS=OFF >/dev/null
ninja -C "$BUILD_DIR" -j"$JOBS" "${BENCHMARKS[@]}"
for name in "${BENCHMARKS[@]}"; do
    echo "== $name"
    "$BUILD_DIR/bench/$name" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
done

# The hotkey to every monitor frozen needs a desktop: virtual ones with one 1920x1080 monitor, and with two
# 3840x2160 monitors side by side.
if [ $# -eq 0 ]; then
    ninja -C "$BUILD_DIR" -j"$JOBS" hotkey_to_capture
    for desktop in "--size 1920x1080" "--monitors 2 --size 7680x2160"; do
        echo "== hotkey_to_capture ($desktop)"
        # shellcheck disable=SC2086
        scripts/virtual-desktop.sh --no-tray $desktop -- env QT_QPA_PLATFORM=xcb "$BUILD_DIR/bench/hotkey_to_capture" \
            --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
    done
fi

# The history sidebar: its pointer handler and a scroll frame; on a desktop a show request to its first pixels, and
# the program's CPU use while the pointer keeps moving.
if [ $# -eq 0 ]; then
    ninja -C "$BUILD_DIR" -j"$JOBS" sidebar
    echo "== sidebar"
    "$BUILD_DIR/bench/sidebar" --benchmark_filter='Motion|Scroll' --benchmark_repetitions=5 \
        --benchmark_report_aggregates_only=true
    scripts/virtual-desktop.sh --no-tray --size 1920x1080 -- env QT_QPA_PLATFORM=xcb "$BUILD_DIR/bench/sidebar" \
        --benchmark_filter=Show
    echo "== sidebar-pointer-cpu"
    bench/sidebar-pointer-cpu.sh "$BUILD_DIR"
fi

# Mouse-up to the editor showing the recognised text, on the real program in a virtual desktop.
if [ $# -eq 0 ]; then
    echo "== capture_latency"
    bench/capture-latency.sh "$BUILD_DIR"
fi

# Recognition against the tesseract command on ../shared/ocr-bench (skipped when the set is absent).
if [ $# -eq 0 ]; then
    echo "== ocr_bench"
    python3 bench/ocr_bench.py --build "$BUILD_DIR"
fi
