#!/usr/bin/env bash
# Installs what is missing, builds Quillora and starts it. Without a $DISPLAY it first starts a virtual
# desktop (Xvfb with a window manager and a system tray) and says how to reach it.
set -euo pipefail
cd "$(dirname "$0")"

./scripts/install-deps.sh
export CCACHE_BASEDIR=$PWD
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUILLORA_BUILD_TESTS=OFF \
    -DQUILLORA_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build build/release --target quillora

app=$PWD/build/release/src/app/quillora
if [ -n "${DISPLAY:-}" ]; then
    exec "$app" "$@"
fi

echo "No DISPLAY: starting a virtual desktop."
exec ./scripts/virtual-desktop.sh -- bash -c '
    echo "Quillora runs on the virtual display $DISPLAY."
    echo "  Look at it:       DISPLAY=$DISPLAY import -window root shot.png"
    echo "  Press the hotkey: DISPLAY=$DISPLAY xdotool key ctrl+shift+7"
    echo "  Stop it:          Ctrl+C here"
    exec "$0" "$@"' "$app" "$@"
