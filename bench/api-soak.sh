#!/usr/bin/env bash
# Runs Quillora on a private virtual desktop (one 1920 x 1080 monitor, a page of text on it) for a while under mixed
# API traffic from 8 clients and a capture every 5 s (bench/api_soak.py), and prints requests, errors, latency and
# the program's RSS, descriptors and threads every 30 s. Exit status 1 when a request or a capture failed.
#
#   bench/api-soak.sh [seconds] [build-dir]    (default 600 s, build/bench)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-600}
build=${2:-build/bench}

[ -f "$build/build.ninja" ] || cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUILLORA_BUILD_TESTS=OFF >/dev/null
ninja -C "$build" quillora >/dev/null

. bench/private-home.sh
port=$((19000 + $$ % 1000))
cat > "$XDG_CONFIG_HOME/Quillora/settings.json" <<JSON
{"hasAcceptedLegal": true, "legalAcceptanceDate": "2026-01-01T00:00:00Z", "hasCompletedOnboarding": true,
 "showCaptureHint": false, "apiEnabled": true, "apiPort": $port, "historyMaxEntries": 1000}
JSON
# What the captures read: three lines of text at the top left of the screen.
convert -size 900x200 xc:white -font DejaVu-Sans -pointsize 20 -fill black \
    -annotate +20+40 'Quillora soak: the quick brown fox jumps' \
    -annotate +20+80 'over the lazy dog, 0123456789 times.' \
    -annotate +20+120 'Grüße aus dem Testlauf.' "$home/page.png"

echo "load before: $(cut -d' ' -f1-3 /proc/loadavg)"
scripts/virtual-desktop.sh --size 1920x1080 -- bash -c "
    display -geometry +0+0 -title page '$home/page.png' &
    sleep 1
    LANGUAGE=en LANG=C.UTF-8 LC_ALL=C.UTF-8 QT_QPA_PLATFORM=xcb python3 bench/api_soak.py '$PWD/$build/src/app/quillora' $port $seconds
    status=\$?
    kill %1
    exit \$status"
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"
