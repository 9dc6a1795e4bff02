#!/usr/bin/env bash
# Measures the time from the capture hotkey to the overlay on the screen (bench/overlay_latency.cpp), for Quillora
# and for Debian's flameshot side by side, on a private virtual desktop with one 1920 x 1080 monitor.
#
#   bench/overlay-latency.sh [build-dir] [--monitors N] [--size WxH]
#
# build-dir defaults to build/bench (the benchmark target is built there); --monitors and --size give the virtual
# desktop (default one 1920x1080 monitor; two 3840 x 2160 monitors side by side: --monitors 2 --size 7680x2160).
# QUILLORA_EXE=path measures another build of the program with the same benchmark.
set -euo pipefail
cd "$(dirname "$0")/.."
build=build/bench
if [ $# -gt 0 ] && [ "${1#--}" = "$1" ]; then
    build=$1
    shift
fi
desktop=(--size 1920x1080)
[ $# -gt 0 ] && desktop=("$@")

# flameshot is the point of comparison only; it is never needed by the program or its tests.
if ! command -v flameshot >/dev/null; then
    sudo=""; [ "$(id -u)" -eq 0 ] || sudo=sudo
    $sudo apt-get install -y --no-install-recommends flameshot >/dev/null
fi

[ -f "$build/build.ninja" ] || cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUILLORA_BUILD_TESTS=OFF >/dev/null
ninja -C "$build" -j1 quillora overlay_latency >/dev/null

. bench/private-home.sh
# Past the first-run windows, as for a user who has set the program up.
cat > "$XDG_CONFIG_HOME/Quillora/settings.json" <<JSON
{"hasAcceptedLegal": true, "legalAcceptanceDate": "2026-01-01T00:00:00Z", "hasCompletedOnboarding": true}
JSON

cat > "$home/run.sh" <<SH
#!/usr/bin/env bash
set -euo pipefail
# A plain coloured desktop, so that both overlays' dimming changes the probed pixel.
xsetroot -solid '#6080a0'
"${QUILLORA_EXE:-$PWD/$build/src/app/quillora}" >"$home/quillora.log" 2>&1 &
app=\$!
sleep 2
status=0
"$build/bench/overlay_latency" --benchmark_counters_tabular=true || status=\$?
kill \$app 2>/dev/null || true
wait \$app 2>/dev/null || true
exit \$status
SH
chmod +x "$home/run.sh"
scripts/virtual-desktop.sh "${desktop[@]}" -- "$home/run.sh"
