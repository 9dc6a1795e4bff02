#!/usr/bin/env python3
"""The program's CPU use while the pointer moves without pause for 10 s outside the history panel: a mouse's 125
reports a second, sent as XTest relative motion (the program sees them as raw device motion, as it would a mouse).
Measured with the sidebar (history on: the pointer is watched) and without it (history off at start-up: nothing
watches the pointer), the panel hidden and shown, in alternating rounds, from the program's own CPU time in /proc.
Run by bench/sidebar-pointer-cpu.sh inside a virtual desktop with a private home."""
import ctypes
import json
import math
import os
import statistics
import subprocess
import sys
import time
import urllib.request

exe = sys.argv[1]
rounds = int(sys.argv[2]) if len(sys.argv) > 2 else 3
SECONDS, RATE = 10.0, 125
PORT = 19000 + os.getpid() % 1000
settings_file = os.path.join(os.environ["XDG_CONFIG_HOME"], "Quillora", "settings.json")

xlib = ctypes.CDLL("libX11.so.6")
xtst = ctypes.CDLL("libXtst.so.6")
xlib.XOpenDisplay.restype = ctypes.c_void_p
xlib.XOpenDisplay.argtypes = [ctypes.c_char_p]
xlib.XFlush.argtypes = [ctypes.c_void_p]
xtst.XTestFakeRelativeMotionEvent.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int, ctypes.c_ulong]
xtst.XTestFakeMotionEvent.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int, ctypes.c_int, ctypes.c_ulong]
display = xlib.XOpenDisplay(None)


def cpu_seconds(pid):
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


def move_for(seconds):
    """Circles of 150 px radius around (700, 540), one relative step every 8 ms; returns the steps sent."""
    xtst.XTestFakeMotionEvent(display, -1, 850, 540, 0)
    xlib.XFlush(display)
    start, steps, x, y = time.monotonic(), 0, 850.0, 540.0
    while (now := time.monotonic()) - start < seconds:
        angle = (now - start) * 2 * math.pi / 1.5
        nx, ny = 700 + 150 * math.cos(angle), 540 + 150 * math.sin(angle)
        dx, dy = round(nx - x), round(ny - y)
        x, y = x + dx, y + dy
        xtst.XTestFakeRelativeMotionEvent(display, dx, dy, 0)
        xlib.XFlush(display)
        steps += 1
        time.sleep(max(0.0, start + steps / RATE - time.monotonic()))
    return steps


def post(path):
    urllib.request.urlopen(urllib.request.Request(f"http://127.0.0.1:{PORT}{path}", method="POST"), timeout=5)


def measure(history_enabled, shown):
    with open(settings_file, "w") as f:
        json.dump({"hasAcceptedLegal": True, "hasCompletedOnboarding": True, "historyEnabled": history_enabled,
                   "apiEnabled": True, "apiPort": PORT}, f)
    app = subprocess.Popen([exe], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        time.sleep(3)  # start-up and the recognition models' warm-up are done
        if shown:
            post("/sidebar/show")
            time.sleep(0.5)
        before = cpu_seconds(app.pid)
        steps = move_for(SECONDS)
        used = cpu_seconds(app.pid) - before
        return 100 * used / SECONDS, steps
    finally:
        app.terminate()
        app.wait(10)


cases = [("sidebar, panel hidden", True, False), ("sidebar, panel shown", True, True),
         ("no sidebar (history off)", False, False)]
results = {name: [] for name, _, _ in cases}
for _ in range(rounds):
    for name, enabled, shown in cases:
        percent, steps = measure(enabled, shown)
        results[name].append(percent)
        print(f"{name}: {percent:.2f} % of one core ({steps} movements in {SECONDS:.0f} s)", flush=True)
for name, values in results.items():
    print(f"== {name}: median {statistics.median(values):.2f} % of one core over {len(values)} runs")
