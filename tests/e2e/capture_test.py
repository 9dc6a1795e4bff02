#!/usr/bin/env python3
"""Whole captures as a user makes them, on the desktop's last monitor: hotkey, drag, Ctrl+S in the editor. With two
monitors both show a paragraph at the same place, different texts in different themes, so that a crop from the wrong
image cannot pass."""
import os
import sys
import time

from shell_support import (ACCEPTED, App, HistoryFiles, Home, TextWindow, character_error_rate, clipboard, drag_around,
                           escape_capture, license_lines, monitors, run, send_keys, start_clipboard_manager,
                           visible_windows, wait_for_tray_icons, wait_for_window, wait_until)

exe, text_window_exe = sys.argv[1:3]
home = Home()
home.preset(ACCEPTED)
screens = monitors()
names = sorted(screens, key=lambda name: screens[name][0])
assert len(names) in (1, 2), screens
target, two_monitors = names[-1], len(names) == 2
left_x, (right_x, _, width, height, _) = screens[names[0]][0], screens[target]
start_clipboard_manager()
app = App(exe, home)
wait_for_tray_icons(1)  # shown once the hotkey is registered
history = HistoryFiles(home)

paragraph = license_lines("BSD", 4, 14)
if two_monitors:
    TextWindow(text_window_exe, left_x + 300, 250, license_lines("Apache-2.0", 9, 19), home.root)
page = TextWindow(text_window_exe, right_x + 300, 250, paragraph, home.root, dark=two_monitors)

# The capture starts with the pointer on the first monitor; a drag on another moves the keyboard there.
run("xdotool", "mousemove", str(left_x + 900), "700")
run("xdotool", "key", "ctrl+shift+7")
wait_until(lambda: len(visible_windows("Quillora Capture")) == len(names), 10,
           lambda: f"an overlay on each of {len(names)} monitors\n{app.dump()}")
drag_around(page.rect)
send_keys(wait_for_window("Captured Text", timeout=60), "ctrl+s")
# Saving closes the editor and puts the text on the clipboard and into the history.
wait_until(lambda: not visible_windows("Captured Text"), 10, "saving to close the editor")
entries = history.wait_entries(1)
text = clipboard()
error_rate = character_error_rate("\n".join(paragraph), text)
assert error_rate <= 0.01, f"character error rate {error_rate:.2%}; clipboard:\n{text}\n{app.dump()}"
assert len(entries) == 1 and entries[0].get("displayName") == target, entries
assert entries[0]["text"] == text, "the history records what went to the clipboard"
assert clipboard("primary") == text, "a middle click pastes the text too"
# The whole monitor, not the selection; its file may be complete after the entry is written.
path = os.path.join(history.folder, "Screenshots", entries[0]["screenshotFilename"])
wait_until(lambda: os.path.exists(path) and os.path.getsize(path) > 24, 10, f"the screenshot {path}")
assert run("identify", "-format", "%w %h", path).stdout == f"{width} {height}", "the screenshot's size"
if two_monitors:
    # RIGHT's page is dark where LEFT's is white: the screenshot is RIGHT's image.
    spot = f"1x1+{page.rect[0] - right_x - 10}+{page.rect[1] - 10}"
    brightness = float(run("convert", path, "-crop", spot, "-format", "%[fx:mean]", "info:").stdout)
    assert brightness < 0.3, f"the screenshot is not RIGHT's image: {brightness} at {spot}"

# Escape in a capture started by the hotkey again: the first press after a capture counts, although the overlay took
# the keyboard while the key was down the last time.
entries_before = history.entries()
run("xdotool", "key", "ctrl+shift+7")
escape_capture()
time.sleep(1.5)
assert not visible_windows("Captured Text"), "Escape starts no recognition\n" + app.dump()
assert clipboard() == text and history.entries() == entries_before, "Escape leaves clipboard and history as they were"

# Quitting hands the clipboard to the clipboard manager, which serves it from then on.
assert app.stop() == 0, app.dump()
assert clipboard() == text, "the text is still on the clipboard after Quillora quit\n" + app.dump()
print(f"capture: ok (character error rate {error_rate:.2%})")
