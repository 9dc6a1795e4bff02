#!/usr/bin/env bash
# Runs a command inside a private virtual X11 desktop: Xvfb, the openbox window manager and a trayer
# system tray. Picks a free display number itself and stops everything it started when the command ends.
#
#   scripts/virtual-desktop.sh [--size WxH] [--monitors N] [--primary I] [--scale S] [--no-tray] [--no-xtest]
#                              -- command [args...]
#
# --monitors N splits the screen into N side-by-side RandR monitors named LEFT, RIGHT (N=2) or M1..MN; the I-th
# of them (counted from 1, default 1) is the primary one. --no-xtest starts the X server without the XTEST
# extension, as a desktop that accepts no synthetic input.
# The command sees DISPLAY, and QUILLORA_VD_PIDS lists the helper processes (Xvfb, openbox, trayer).
set -euo pipefail

size=1920x1080
monitors=1
primary=1
tray=1
xtest=+extension
while [ $# -gt 0 ]; do
    case "$1" in
        --size) size=$2; shift 2 ;;
        --monitors) monitors=$2; shift 2 ;;
        --primary) primary=$2; shift 2 ;;
        --no-tray) tray=0; shift ;;
        --no-xtest) xtest=-extension; shift ;;
        --) shift; break ;;
        -h|--help) sed -n '2,12p' "$0"; exit 0 ;;
        *) break ;;
    esac
done
if [ $# -eq 0 ]; then
    echo "virtual-desktop.sh: no command given" >&2
    exit 2
fi

width=${size%x*}
height=${size#*x}
workdir=$(mktemp -d "${TMPDIR:-/tmp}/quillora-vd-XXXXXX")
pids=()

cleanup() {
    local pid
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
        pid=${pids[$i]}
        kill "$pid" 2>/dev/null || true
    done
    for pid in "${pids[@]}"; do
        wait "$pid" 2>/dev/null || true
    done
    rm -rf "$workdir"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# Xvfb chooses a free display itself and writes its number to the given descriptor. -noreset keeps the RandR
# monitors alive when a client disconnects.
exec 3> "$workdir/display"
Xvfb -displayfd 3 -screen 0 "${width}x${height}x24" -dpi 96 -noreset -nolisten tcp +extension RANDR "$xtest" XTEST \
    >"$workdir/xvfb.log" 2>&1 &
pids+=($!)
exec 3>&-
for _ in $(seq 1 100); do
    [ -s "$workdir/display" ] && break
    sleep 0.05
done
if [ ! -s "$workdir/display" ]; then
    echo "virtual-desktop.sh: Xvfb did not start" >&2
    cat "$workdir/xvfb.log" >&2
    exit 1
fi
export DISPLAY=":$(head -n1 "$workdir/display")"

# openbox without session management or a user configuration of its own.
HOME="$workdir" openbox --sm-disable >"$workdir/openbox.log" 2>&1 &
pids+=($!)

if [ "$monitors" -gt 1 ]; then
    mw=$((width / monitors))
    for ((m = 0; m < monitors; m++)); do
        if [ "$monitors" -eq 2 ]; then
            names=(LEFT RIGHT); name=${names[$m]}
        else
            name="M$((m + 1))"
        fi
        geometry="${mw}/$((mw * 254 / 960))x${height}/$((height * 254 / 960))+$((m * mw))+0"
        star=
        [ "$((m + 1))" -eq "$primary" ] && star='*'
        # The first monitor takes over the output; otherwise the automatic whole-screen monitor stays.
        if [ "$m" -eq 0 ]; then
            xrandr --setmonitor "$star$name" "$geometry" screen >/dev/null
        else
            xrandr --setmonitor "$star$name" "$geometry" none >/dev/null
        fi
    done
fi

if [ "$tray" -eq 1 ]; then
    trayer --edge top --align right --widthtype request --height 24 --transparent false --expand true \
        --SetDockType true --SetPartialStrut true >"$workdir/trayer.log" 2>&1 &
    pids+=($!)
fi

# Wait until the window manager is up (it sets _NET_SUPPORTING_WM_CHECK on the root window).
for _ in $(seq 1 100); do
    if xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; then
        break
    fi
    sleep 0.05
done

export QUILLORA_VD_PIDS="${pids[*]}"
export NO_AT_BRIDGE=1
set +e
"$@"
status=$?
set -e
exit $status
