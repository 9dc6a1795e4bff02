#!/usr/bin/env bash
# The program's CPU use while the pointer keeps moving for 10 s outside the history panel
# (bench/sidebar_pointer_cpu.py), on a private virtual desktop with one 1920 x 1080 monitor.
#
#   bench/sidebar-pointer-cpu.sh [build-dir] [rounds]    (default build/bench, 3 rounds)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/bench}
rounds=${2:-3}

[ -f "$build/build.ninja" ] || cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUILLORA_BUILD_TESTS=OFF >/dev/null
ninja -C "$build" -j1 quillora >/dev/null

. bench/private-home.sh
echo "load before: $(cut -d' ' -f1-3 /proc/loadavg)"
scripts/virtual-desktop.sh --size 1920x1080 -- env QT_QPA_PLATFORM=xcb \
    python3 bench/sidebar_pointer_cpu.py "$PWD/$build/src/app/quillora" "$rounds"
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"
