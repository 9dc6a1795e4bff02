#!/usr/bin/env bash
# Runs a command inside a private headless Wayland desktop: the sway compositor with no real outputs or input
# devices, a bar along the top of each output, a D-Bus session, PipeWire and the desktop portal with its wlroots
# backend (screenshots) and its GTK one (the permission dialogs the screenshot portal needs). Stops everything it
# started when the command ends.
#
#   scripts/wayland-desktop.sh [--outputs N] [--size WxH] -- command [args...]
#
# The outputs (default 2, each 1280x720) stand side by side, HEADLESS-1 on the left. The command sees
# WAYLAND_DISPLAY (an absolute path), SWAYSOCK, XDG_CURRENT_DESKTOP=sway and DBUS_SESSION_BUS_ADDRESS, and no DISPLAY.
# sway refuses to run as root, so under root it runs as the user nobody; root's clients can still connect to it.
set -euo pipefail

outputs=2
size=1280x720
while [ $# -gt 0 ]; do
    case "$1" in
        --outputs) outputs=$2; shift 2 ;;
        --size) size=$2; shift 2 ;;
        --) shift; break ;;
        -h|--help) sed -n '2,12p' "$0"; exit 0 ;;
        *) break ;;
    esac
done
if [ $# -eq 0 ]; then
    echo "wayland-desktop.sh: no command given" >&2
    exit 2
fi

# A D-Bus session of its own, which ends with the command: the portal services are started by it on demand.
if [ -z "${QUILLORA_WD_INNER:-}" ]; then
    export QUILLORA_WD_INNER=1
    exec dbus-run-session -- "$0" --outputs "$outputs" --size "$size" -- "$@"
fi
unset QUILLORA_WD_INNER

width=${size%x*}
height=${size#*x}
workdir=$(mktemp -d "${TMPDIR:-/tmp}/quillora-wd-XXXXXX")
chmod 755 "$workdir"
pids=()
cleanup() {
    local pid
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
        kill "${pids[$i]}" 2>/dev/null || true
    done
    for pid in "${pids[@]}"; do
        wait "$pid" 2>/dev/null || true
    done
    # The document portal, started on demand by the D-Bus session, mounts its file system in the runtime folder.
    if mountpoint -q "$workdir/runtime/doc" 2>/dev/null; then
        fusermount3 -u "$workdir/runtime/doc" 2>/dev/null || fusermount -u "$workdir/runtime/doc" 2>/dev/null ||
            umount -l "$workdir/runtime/doc" 2>/dev/null || true
    fi
    rm -rf "$workdir"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

run_as=()
if [ "$(id -u)" -eq 0 ]; then
    run_as=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
fi
# The compositor's own runtime folder, for its sockets; the clients keep theirs.
swayrt="$workdir/sway-runtime"
mkdir -m 700 "$swayrt"
[ ${#run_as[@]} -gt 0 ] && chown nobody:nogroup "$swayrt"

{
    for ((o = 1; o <= outputs; o++)); do
        echo "output HEADLESS-$o resolution ${width}x${height} position $(((o - 1) * width)) 0"
    done
    echo "output * bg #ffffff solid_color"
    # A panel on every output, in a colour nothing else shows, so that a test can tell whether it is covered.
    printf '%s\n' 'bar {' '    position top' '    tray_output none' \
        '    colors {' '        background #ff00ff' '        statusline #000000' '    }' '}'
    echo 'focus_follows_mouse yes'
} >"$workdir/sway.conf"

env -u DISPLAY -u WAYLAND_DISPLAY HOME="$workdir" XDG_RUNTIME_DIR="$swayrt" WLR_BACKENDS=headless \
    WLR_HEADLESS_OUTPUTS="$outputs" WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 \
    "${run_as[@]}" sway -c "$workdir/sway.conf" >"$workdir/sway.log" 2>&1 &
pids+=($!)
for _ in $(seq 1 100); do
    ls "$swayrt" 2>/dev/null | grep -q '^wayland-[0-9]*$' && ls "$swayrt" | grep -q '^sway-ipc' && break
    sleep 0.05
done
socket=$(ls "$swayrt" | grep '^wayland-[0-9]*$' | head -n1 || true)
if [ -z "$socket" ]; then
    echo "wayland-desktop.sh: sway did not start" >&2
    cat "$workdir/sway.log" >&2
    exit 1
fi
unset DISPLAY
export WAYLAND_DISPLAY="$swayrt/$socket"
export SWAYSOCK="$swayrt/$(ls "$swayrt" | grep '^sway-ipc' | head -n1)"
export XDG_CURRENT_DESKTOP=sway
if [ -z "${XDG_RUNTIME_DIR:-}" ] || [ ! -w "$XDG_RUNTIME_DIR" ]; then
    export XDG_RUNTIME_DIR="$workdir/runtime"
    mkdir -m 700 "$XDG_RUNTIME_DIR"
fi

# The wlroots portal streams through PipeWire and does not start without it, screenshots included.
pipewire >"$workdir/pipewire.log" 2>&1 &
pids+=($!)
for _ in $(seq 1 100); do
    [ -S "$XDG_RUNTIME_DIR/pipewire-0" ] && break
    sleep 0.05
done
# Without an accessibility bus: starting one for the GTK portal now and then stalls its start for D-Bus's 25 s.
export NO_AT_BRIDGE=1 GTK_A11Y=none
dbus-update-activation-environment WAYLAND_DISPLAY XDG_CURRENT_DESKTOP XDG_RUNTIME_DIR SWAYSOCK NO_AT_BRIDGE GTK_A11Y
# The portal services start on the first call; start them now, so that the command's first request does not wait.
gdbus call --session --timeout 60 --dest org.freedesktop.portal.Desktop --object-path /org/freedesktop/portal/desktop \
    --method org.freedesktop.DBus.Properties.Get org.freedesktop.portal.Screenshot version >/dev/null 2>&1 || true

# Wait until every output is there and the bar has drawn.
for _ in $(seq 1 100); do
    [ "$(swaymsg -t get_outputs -r 2>/dev/null | grep -c '"active": true')" -ge "$outputs" ] && break
    sleep 0.05
done

export QUILLORA_WD_PIDS="${pids[*]}"
set +e
"$@"
status=$?
set -e
exit $status
