#!/usr/bin/env python3
"""A fresh home: only the terms window; closing it declines and quits; accepting builds the tray, the hotkey and the
quick start; a later start with both flags shows no window."""
import os
import sys
import time

from shell_support import (App, Home, send_keys, tray_icons, visible_windows, wait_for_tray_icons, wait_for_window,
                           wait_until)

exe = sys.argv[1]
home = Home()
# Closing the terms window with Escape is a decline.
app = App(exe, home)
terms = wait_for_window("Welcome to Quillora")
time.sleep(0.3)
assert not tray_icons() and not visible_windows("Quillora Quick Start"), "nothing before the terms are accepted"
send_keys(terms, "Escape")
assert app.wait_exit() == 0, app.dump()
assert not os.path.exists(home.settings_path) or not home.settings().get("hasAcceptedLegal"), home.settings()
assert not tray_icons()
# The program's handler writes its system-log lines, copied to standard error as asked, as they stand.
history_file = os.path.join(home.root, ".local/share/Quillora/history.json")
assert f"📚 History file does not exist yet: {history_file}" in app.err, app.dump()

# Accepting: Return on the focused accept button.
app = App(exe, home)
send_keys(wait_for_window("Welcome to Quillora"), "Return")
wait_for_tray_icons(1)
settings = home.settings()
assert settings["hasAcceptedLegal"] is True and settings["legalAcceptanceDate"], settings
quick_start = wait_for_window("Quillora Quick Start")
assert not visible_windows("Welcome to Quillora")
# The hotkey was registered: a failure would be reported on standard output.
assert not any(line.startswith("Failed to register hotkey") for line in app.out), app.dump()

# Finishing the quick start: Next, Next, Get Started.
for _ in range(3):
    send_keys(quick_start, "Return")
wait_until(lambda: home.settings().get("hasCompletedOnboarding") is True, 10, "the quick start to be completed")
wait_until(lambda: not visible_windows("Quillora Quick Start"), 10, "the quick start to close")
assert app.stop() == 0, app.dump()

# A later start: no window at all, only the tray icon.
app = App(exe, home)
wait_for_tray_icons(1)
time.sleep(0.5)
assert not visible_windows("Welcome to Quillora") and not visible_windows("Quillora Quick Start")
assert app.stop() == 0, app.dump()
print("first start: ok")
