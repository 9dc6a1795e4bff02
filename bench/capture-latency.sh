#!/usr/bin/env bash
# Measures the time from the mouse-up that ends a selection to the editor showing the recognised text
# (bench/capture_latency.cpp), for a 600 x 100 selection of 14 px text and a 1200 x 600 paragraph, on a private
# virtual desktop with one 1920 x 1080 monitor and Quillora running in it.
#
#   bench/capture-latency.sh [build-dir] [benchmark options...]    (default build/bench)
#
# QUILLORA_EXE=path measures another build of the program (for example the previous commit's) with the same
# benchmark, so that two builds can be timed in alternating runs.
set -euo pipefail
cd "$(dirname "$0")/.."
build=build/bench
if [ $# -gt 0 ] && [ "${1#--}" = "$1" ]; then
    build=$1
    shift
fi

[ -f "$build/build.ninja" ] || cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUILLORA_BUILD_TESTS=OFF >/dev/null
ninja -C "$build" -j1 quillora capture_latency >/dev/null

. bench/private-home.sh
# A user who has set the program up and turned the instruction toast off, so that the toast's fade never runs
# during a measurement. The history stays on: saving is not timed, but every capture is a full one.
cat > "$XDG_CONFIG_HOME/Quillora/settings.json" <<JSON
{"hasAcceptedLegal": true, "legalAcceptanceDate": "2026-01-01T00:00:00Z", "hasCompletedOnboarding": true,
 "showCaptureHint": false}
JSON

export QUILLORA_EXE=${QUILLORA_EXE:-$PWD/$build/src/app/quillora}
args=("$@")
cat > "$home/run.sh" <<SH
#!/usr/bin/env bash
set -euo pipefail
xsetroot -solid '#6080a0'
# Every line of the program stamped with the monotonic clock on arrival: where the time of a capture goes. In
# English (the benchmark finds the editor by its English title) and recognising German and English only, whatever
# the machine's locale, so that runs on different machines measure the same work.
LANGUAGE=en LANG=C.UTF-8 LC_ALL=C.UTF-8 QUILLORA_LOG_STDERR=1 "\$QUILLORA_EXE" > >(python3 "$PWD/bench/stamp_lines.py" >"$home/quillora.log") 2>&1 &
app=\$!
export QUILLORA_PID=\$app
sleep 2
status=0
"$build/bench/capture_latency" --benchmark_counters_tabular=true ${args[*]:-} || status=\$?
kill \$app 2>/dev/null || true
wait \$app 2>/dev/null || true
exit \$status
SH
chmod +x "$home/run.sh"
scripts/virtual-desktop.sh --size 1920x1080 -- "$home/run.sh"
