#!/usr/bin/env python3
"""The starts of the real program: a fresh home shows only the terms window, whose Escape declines and quits and whose
acceptance builds the tray, the hotkey and the quick start; a later start shows no window, survives a hotkey held
elsewhere, and hands `--capture` and a second start over to the running instance."""
import os
import subprocess
import sys
import time

from shell_support import (App, Home, api, escape_capture, run, send_keys, start_with_api, stop_at_exit, tray_icons,
                           visible_windows, wait_for_tray_icons, wait_for_window, wait_until)

exe = sys.argv[1]
grabber_script = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "platform", "linux", "hold_key_grab.py")


home = Home()
# Closing the terms window with Escape is a decline.
app = App(exe, home)
terms = wait_for_window("Welcome to Quillora")
time.sleep(0.3)
send_keys(terms, "Escape")
assert app.wait_exit() == 0, app.dump()
assert not os.path.exists(home.settings_path) or not home.settings().get("hasAcceptedLegal"), home.settings()

# Accepting: Return on the focused accept button.
app = App(exe, home)
send_keys(wait_for_window("Welcome to Quillora"), "Return")
wait_for_tray_icons(1)
settings = home.settings()
assert settings["hasAcceptedLegal"] is True and settings["legalAcceptanceDate"], settings
quick_start = wait_for_window("Quillora Quick Start")
assert not visible_windows("Welcome to Quillora")
# Finishing the quick start: Next, Next, Get Started.
for _ in range(3):
    send_keys(quick_start, "Return")
wait_until(lambda: home.settings().get("hasCompletedOnboarding") is True, 10, "the quick start to be completed")
wait_until(lambda: not visible_windows("Quillora Quick Start"), 10, "the quick start to close")
assert app.stop() == 0, app.dump()

# A later start, with Control (4) + Shift (1) on 7 grabbed as another program would: no window, only the tray icon.
grabber = stop_at_exit(subprocess.Popen([sys.executable, grabber_script, "7", "5"], stdin=subprocess.PIPE,
                                        stdout=subprocess.PIPE, text=True))
assert grabber.stdout.readline().strip() == "held", "the other client holds the combination"
app, port = start_with_api(exe, home)
wait_for_tray_icons(1)
time.sleep(0.5)
assert not visible_windows("Welcome to Quillora") and not visible_windows("Quillora Quick Start")
# The hotkey has been tried before the tray icon shows, and its failure reported.
app.wait_out("Failed to register hotkey: 10")

# A capture starts as if the hotkey had been pressed, from the API and from a later `quillora --capture`.
assert api(port, "POST", "/capture") == (200, {"success": True, "message": "Capture initiated"})
escape_capture()
assert run(exe, "--capture", env=home.env).returncode == 0
escape_capture()

second = run(exe, env=home.env)
assert second.returncode == 0 and second.stdout.strip() == "Quillora is already running.", second
time.sleep(1)
assert len(tray_icons()) == 1 and api(port, "GET", "/status")[1]["status"] == "running", "the first one alone serves"

assert api(port, "POST", "/quit")[0] == 200
assert app.wait_exit(10) == 0, app.dump()
for option in ("--capture", "--sidebar"):
    alone = run(exe, option, env=home.env)
    assert alone.returncode == 1 and "Quillora is not running" in alone.stderr, alone
print("starts: ok")
