#!/usr/bin/env bash
# Installs what is missing, builds the benchmarks in Release (build/bench) and runs every one of them.
# Arguments are passed to each benchmark (for example --benchmark_min_time=2). Figures: README.md, "Benchmarks".
set -euo pipefail
cd "$(dirname "$0")"

# One Google Benchmark executable per line (bench/CMakeLists.txt names them).
benchmarks=(
    api_load
    history_store
    text_cleanup
)

./scripts/install-deps.sh
export CCACHE_BASEDIR=$PWD
cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUILLORA_BUILD_TESTS=OFF >/dev/null
cmake --build build/bench --target benchmarks

# Benchmarks that write files make their temporary folders in the working directory: keep them in the build tree.
cd build/bench
for name in "${benchmarks[@]}"; do
    echo "== $name"
    "bench/$name" "$@"
done

# The hotkey to every monitor frozen needs a desktop: a virtual one with one 1920x1080 monitor, then one split
# into two 3840x2160 monitors.
echo "== hotkey_to_capture, one 1920x1080 monitor"
../../scripts/virtual-desktop.sh --no-tray --size 1920x1080 -- env QT_QPA_PLATFORM=xcb bench/hotkey_to_capture "$@"
echo "== hotkey_to_capture, two 3840x2160 monitors"
../../scripts/virtual-desktop.sh --no-tray --monitors 2 --size 7680x2160 -- \
    env QT_QPA_PLATFORM=xcb bench/hotkey_to_capture "$@"
