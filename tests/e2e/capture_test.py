#!/usr/bin/env python3
"""A whole capture on one monitor, as a user makes it: Ctrl+Shift+7 over another application's window that shows
a paragraph, a drag around the paragraph, Ctrl+S in the editor. The clipboard then holds the paragraph, and the
history one entry with the monitor's name and a PNG of the whole monitor. A second capture ended with Escape
leaves the clipboard and the history as they were.

    capture_test.py QUILLORA TEXT_WINDOW
"""
import sys
import time

from capture_support import (HistoryFiles, TextWindow, character_error_rate, clipboard, drag_around, license_lines,
                             monitors, png_size, set_clipboard)
from shell_support import App, Home, accepted_settings, run, send_keys, visible_windows, wait_for_window, wait_until

exe, text_window_exe = sys.argv[1:3]
home = Home()
page = None
try:
    home.preset(accepted_settings())
    app = App(exe, home)
    app.wait_out("🔧 API server disabled in settings")
    history = HistoryFiles(home)
    (monitor, (_, _, width, height)), = monitors().items()

    paragraph = license_lines("BSD", 4, 14)
    page = TextWindow(text_window_exe, 300, 250, paragraph, home.root)

    run("xdotool", "key", "ctrl+shift+7")
    app.wait_out("📸 Capture started - draw a rectangle to select text area")
    drag_around(page.rect)
    editor = wait_for_window("Captured Text", timeout=60)
    send_keys(editor, "ctrl+s")
    app.wait_out("✏️ Editor callback: text returned")
    assert not visible_windows("Captured Text"), "saving closes the editor"

    text = clipboard()
    error_rate = character_error_rate("\n".join(paragraph), text)
    assert error_rate <= 0.01, f"character error rate {error_rate:.2%}; clipboard:\n{text}\n{app.dump()}"

    entries = history.wait_entries(1)
    assert len(entries) == 1, entries
    entry = entries[0]
    assert entry["text"] == text, "the history records what went to the clipboard"
    assert entry.get("displayName") == monitor, (entry, monitor)
    app.wait_err(r"^📸 Saved screenshot: " + entry["screenshotFilename"] + "$")
    assert png_size(history.wait_screenshot(entry["screenshotFilename"])) == (width, height), \
        "the screenshot is the whole monitor, not the selection"

    # Escape instead of a drag, in a capture started by the hotkey again: the first press after a capture
    # counts, although the overlay took the keyboard while the key was down the last time.
    set_clipboard("text the user copied before")
    with open(history.file, "rb") as f:
        history_before = f.read()
    screenshots_before = history.screenshot_files()
    run("xdotool", "key", "ctrl+shift+7")
    app.wait_out("📸 Capture started - draw a rectangle to select text area", count=2, timeout=5)
    wait_for_window("Quillora Capture")
    time.sleep(0.3)
    run("xdotool", "key", "Escape")
    wait_until(lambda: not visible_windows("Quillora Capture"), 10, lambda: "Escape to close the overlay\n" + app.dump())
    # With the overlay gone a drag reaches the page underneath and starts nothing.
    drag_around(page.rect)
    time.sleep(1.5)
    delegate_calls = [line for line in app.out if line.startswith("🎯 DELEGATE CALLED")]
    assert len(delegate_calls) == 1, app.dump()
    assert not visible_windows("Captured Text"), app.dump()
    assert clipboard() == "text the user copied before"
    with open(history.file, "rb") as f:
        assert f.read() == history_before, "Escape leaves the history file as it was"
    assert history.screenshot_files() == screenshots_before

    assert app.running(), app.dump()
    assert app.stop() == 0, app.dump()
    print(f"capture on one monitor: ok (character error rate {error_rate:.2%})")
finally:
    if page:
        page.close()
    home.remove()
