#!/usr/bin/env python3
"""The history sidebar of the real program, driven like a user: pushing the pointer against the screen's right edge
(XTest relative motion, seen as raw device motion) shows and hides the panel; its buttons and its editor act on
history.json and leave the keyboard where it belongs."""
import json
import os
import subprocess
import sys
import time

from shell_support import (HistoryFiles, Home, api_ok, clipboard, run, start_with_api, stop_at_exit,
                           visible_windows, wait_for_tray_icons, wait_until)

exe = sys.argv[1]
# The panel's layout, from its top edge: margin 16, capture button 36, gap 20, title row 24, gap 8, then rows of 60.
LIST_TOP, ROW_HEIGHT = 104, 60
# Button centres from the panel's right edge: 8 of margin, buttons of 22 that are 2 apart.
BUTTON_FROM_RIGHT = {"delete": 19, "copy": 67}
PRIMARY_RIGHT = 1920
SHOWN_X = PRIMARY_RIGHT - 300


def panel_geometry():
    """(x, y, width, height) of the panel when it is mapped, else None."""
    ids = visible_windows("Quillora History")
    info = run("xwininfo", "-id", ids[0]).stdout if ids else None
    return info and tuple(int(info.split(key)[1].split()[0])
                          for key in ("Absolute upper-left X:", "Absolute upper-left Y:", "Width:", "Height:"))


def wait_shown():
    wait_until(lambda: (panel_geometry() or (None,))[0] == SHOWN_X, 5, lambda: f"the panel shown: {panel_geometry()}")


def wait_hidden():
    wait_until(lambda: panel_geometry() is None, 5, "the panel to leave the screen")


def push(times=4):
    """Relative moves against the edge, which holds the pointer where it is."""
    for _ in range(times):
        run("xdotool", "mousemove_relative", "--", "30", "0")
        time.sleep(0.03)


def click_row(row, button, double=False):
    x, y, width, _ = panel_geometry()
    run("xdotool", "mousemove", str(x + width - BUTTON_FROM_RIGHT[button] if button else x + 40),
        str(y + LIST_TOP + row * ROW_HEIGHT + ROW_HEIGHT // 2))
    time.sleep(0.1)
    run("xdotool", "click", *(["--repeat", "2", "--delay", "80"] if double else []), "1")


def active_window():
    return run("xdotool", "getactivewindow").stdout.strip()


home = Home()
history = HistoryFiles(home)
# Three entries, newest first; the middle one has a screenshot.
shot_path = os.path.join(history.folder, "Screenshots", "0E5C2B7A-1111-4222-8333-444455556666.png")
os.makedirs(os.path.dirname(shot_path))
run("convert", "-size", "64x48", "xc:rgb(200,40,40)", shot_path)
entries = [{"id": f"A0000000-0000-4000-8000-00000000000{n}", "text": text,
            "timestamp": time.strftime("%Y-%m-%dT%H:%M:%SZ", time.gmtime(time.time() - 3600 * (4 - n)))}
           for n, text in ((3, "Meeting moved to Thursday 10:00"),
                           (2, "The quick brown fox jumps over the lazy dog.\nSecond line of the capture"),
                           (1, "invoice 2024-117"))]
entries[1]["screenshotFilename"] = os.path.basename(shot_path)
with open(history.file, "w", encoding="utf-8") as f:
    json.dump(entries, f)
app, port = start_with_api(exe, home)
wait_for_tray_icons(1)

# Another application has the keyboard.
holder = stop_at_exit(subprocess.Popen(["xmessage", "-geometry", "+200+200", "focus stays here"]))
holder_id = wait_until(lambda: visible_windows("xmessage"), 10, "the xmessage window")[0]
run("xdotool", "windowactivate", "--sync", holder_id)
wait_until(lambda: active_window() == holder_id, 5, "xmessage to have the keyboard")

# Pushing against the edge shows the panel; pushing again (after the half-second debounce) hides it.
run("xdotool", "mousemove", str(PRIMARY_RIGHT - 1), "540")
time.sleep(0.2)
push()
wait_shown()
time.sleep(0.6)
push()
wait_hidden()

api_ok(port, "POST", "/sidebar/toggle")
wait_shown()
run("xdotool", "windowactivate", "--sync", holder_id)

# Copy: the text reaches the clipboard and the keyboard stays with xmessage.
click_row(1, "copy")
wait_until(lambda: clipboard() == history.entries()[1]["text"], 5, lambda: f"the clipboard: {clipboard()!r}")
time.sleep(0.3)
assert active_window() == holder_id, "the sidebar took the keyboard"

# Delete: the entry and its screenshot go, without a question.
click_row(1, "delete")
wait_until(lambda: len(history.entries()) == 2, 5, "the deletion in history.json")
assert [e["text"] for e in history.entries()] == ["Meeting moved to Thursday 10:00", "invoice 2024-117"]
wait_until(lambda: not os.path.exists(shot_path), 5, "the screenshot's removal")

# A double click on a row's text edits it: the editor has the keyboard and the old text selected; Return saves.
click_row(1, None, double=True)
editor = wait_until(lambda: visible_windows("Quillora Entry"), 5, "the editor")[0]
wait_until(lambda: active_window() == editor, 5, "the editor to have the keyboard")
run("xdotool", "type", "--delay", "20", "invoice 2024-118")
run("xdotool", "key", "Return")
wait_until(lambda: not visible_windows("Quillora Entry"), 5, "the editor to close")
wait_until(lambda: history.entries()[1]["text"] == "invoice 2024-118", 5, lambda: f"the edit: {history.entries()}")
assert history.entries()[1]["id"] == "A0000000-0000-4000-8000-000000000001"
assert app.stop() == 0, app.dump()
print("sidebar e2e: ok")
