#!/usr/bin/env python3
"""Drives Quillora on the virtual desktop that scripts/take-screenshots.sh starts and saves its screenshots."""
import os
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
from capture_support import TextWindow  # noqa: E402
from shell_support import App, Home, accepted_settings, run, send_keys, wait_for_window  # noqa: E402

exe, text_window_exe, out = sys.argv[1:4]
NOTES = [
    "Joining the weekly review",
    "",
    "Your meeting code is QX-2047-118. Join from the link in the",
    "invitation, or dial in and enter the code when you are asked",
    "for it. Recordings are kept for thirty days and can be found",
    "under Meetings in your account, next to the shared notes.",
]


def shoot(name):
    # A moment for the last frame to reach the server.
    time.sleep(0.5)
    path = os.path.join(out, name)
    run("import", "-window", "root", path)
    print("saved", path)


home = Home()
page = None
app = None
try:
    run("xsetroot", "-solid", "#3d4a5c")
    # Without the hint that covers the middle of the screen when a capture starts.
    home.preset(dict(accepted_settings(), showCaptureHint=False))
    app = App(exe, home)
    app.wait_out("🔧 API server disabled in settings")
    page = TextWindow(text_window_exe, 300, 200, NOTES, home.root)
    x, y, w, h = page.rect

    run("xdotool", "key", "ctrl+shift+7")
    wait_for_window("Quillora Capture")
    time.sleep(0.3)
    x0, y0, x1, y1 = x - 12, y + 28, x + w + 12, y + h + 10
    run("xdotool", "mousemove", str(x0), str(y0))
    run("xdotool", "mousedown", "1")
    for step in range(1, 13):
        run("xdotool", "mousemove", str(x0 + (x1 - x0) * step // 12), str(y0 + (y1 - y0) * step // 12))
        time.sleep(0.02)
    shoot("capture-overlay.png")

    run("xdotool", "mouseup", "1")
    editor = wait_for_window("Captured Text", timeout=60)
    run("xdotool", "mousemove", "1270", "710")
    shoot("text-editor.png")
    send_keys(editor, "Escape")
finally:
    if page:
        page.close()
    if app:
        app.stop()
    home.remove()
