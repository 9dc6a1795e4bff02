#!/usr/bin/env python3
"""Drives Quillora on the virtual desktop that scripts/take-screenshots.sh starts and saves its screenshots."""
import os
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
from shell_support import ACCEPTED, App, Home, TextWindow, drag, run, send_keys, wait_for_window  # noqa: E402

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


# The program, the text window and the temporary home go when the script ends, whichever way it ends.
home = Home()
run("xsetroot", "-solid", "#3d4a5c")
# Without the hint that covers the middle of the screen when a capture starts.
home.preset(dict(ACCEPTED, showCaptureHint=False))
app = App(exe, home)
app.wait_out("🔧 API server disabled in settings")
page = TextWindow(text_window_exe, 300, 200, NOTES, home.root)
x, y, w, h = page.rect

run("xdotool", "key", "ctrl+shift+7")
wait_for_window("Quillora Capture")
time.sleep(0.3)
drag(x - 12, y + 28, x + w + 12, y + h + 10, lambda px, py: run("xdotool", "mousemove", str(px), str(py)),
     lambda down: run("xdotool", "mousedown" if down else "mouseup", "1"),
     before_release=lambda: shoot("capture-overlay.png"))
editor = wait_for_window("Captured Text", timeout=60)
run("xdotool", "mousemove", "1270", "710")
shoot("text-editor.png")
send_keys(editor, "Escape")
app.stop()
