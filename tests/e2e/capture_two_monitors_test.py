#!/usr/bin/env python3
"""A capture on the second of two monitors (LEFT and RIGHT, 1920 x 1080 each): both show a paragraph at the same
place of their monitor, different texts in different themes, so a crop taken from the wrong monitor's image or at
the wrong place cannot pass. The text comes from RIGHT, and the history entry carries RIGHT's name and RIGHT's
whole image.

    capture_two_monitors_test.py QUILLORA TEXT_WINDOW
"""
import re
import sys

from capture_support import (HistoryFiles, TextWindow, character_error_rate, clipboard, drag_around, license_lines,
                             monitors, png_pixel, png_size)
from shell_support import App, Home, accepted_settings, run, send_keys, wait_for_window

exe, text_window_exe = sys.argv[1:3]
home = Home()
pages = []
try:
    home.preset(accepted_settings())
    screens = monitors()
    assert set(screens) == {"LEFT", "RIGHT"}, screens
    left_x, right_x = screens["LEFT"][0], screens["RIGHT"][0]
    app = App(exe, home)
    app.wait_out("🔧 API server disabled in settings")
    history = HistoryFiles(home)

    paragraph = license_lines("BSD", 4, 14)
    pages.append(TextWindow(text_window_exe, left_x + 300, 250, license_lines("Apache-2.0", 9, 19), home.root))
    pages.append(TextWindow(text_window_exe, right_x + 300, 250, paragraph, home.root, dark=True))
    right_page = pages[-1]

    # The capture starts with the pointer on LEFT; the drag on RIGHT moves the keyboard there.
    run("xdotool", "mousemove", str(left_x + 900), "700")
    run("xdotool", "key", "ctrl+shift+7")
    app.wait_out("📸 Capture started - draw a rectangle to select text area")
    app.wait_err(r"^  Captured 2 screens$")
    drag_around(right_page.rect)
    app.wait_err(r"^✅ Found screen 'RIGHT' and image 1920x1080, starting OCR\.\.\.$")
    editor = wait_for_window("Captured Text", timeout=60)
    # The editor opens next to the pointer, on the monitor the text was selected on.
    position = re.search(r"Position: (-?\d+),(-?\d+)", run("xdotool", "getwindowgeometry", editor).stdout)
    assert position and right_x <= int(position.group(1)) < right_x + 1920, run("xdotool", "getwindowgeometry", editor).stdout
    send_keys(editor, "ctrl+s")
    app.wait_out("✏️ Editor callback: text returned")

    text = clipboard()
    error_rate = character_error_rate("\n".join(paragraph), text)
    assert error_rate <= 0.01, f"character error rate {error_rate:.2%}; clipboard:\n{text}\n{app.dump()}"

    entries = history.wait_entries(1)
    assert len(entries) == 1 and entries[0].get("displayName") == "RIGHT", entries
    name = entries[0]["screenshotFilename"]
    app.wait_err(r"^📸 Saved screenshot: " + name + "$")
    path = history.wait_screenshot(name)
    assert png_size(path) == (1920, 1080), png_size(path)
    # RIGHT's page is dark where LEFT's is white: the screenshot is RIGHT's image.
    page_x, page_y = right_page.rect[0] - right_x, right_page.rect[1]
    assert max(png_pixel(path, page_x - 10, page_y - 10)) < 80, png_pixel(path, page_x - 10, page_y - 10)

    assert app.stop() == 0, app.dump()
    print(f"capture on the second monitor: ok (character error rate {error_rate:.2%})")
finally:
    for page in pages:
        page.close()
    home.remove()
