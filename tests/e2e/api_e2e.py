#!/usr/bin/env python3
"""The real program with "apiEnabled" while another X client holds Ctrl+Shift+7: it reports the failed registration
and keeps running. Over HTTP it starts a capture (more requests while it is on the screen add nothing) and quits;
`--capture`, `--sidebar` and a second start hand over to the running instance, and fail without one. (Every route's
answers are checked on the server itself in tests/core/api; the history and settings routes writing their files
in tests/e2e/crash_rounds_test.py.)"""
import os
import subprocess
import sys
import time

from shell_support import (Home, api, run, start_with_api, stop_at_exit, tray_icons, visible_windows,
                           wait_for_tray_icons, wait_for_window, wait_until)

exe = sys.argv[1]
grabber_script = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "platform", "linux", "hold_key_grab.py")


def escape_capture():
    wait_for_window("Quillora Capture")
    time.sleep(0.3)
    run("xdotool", "key", "Escape")
    wait_until(lambda: not visible_windows("Quillora Capture"), 10, "Escape to close the overlay")


# Control (4) + Shift (1), as the other program would grab it.
grabber = stop_at_exit(subprocess.Popen([sys.executable, grabber_script, "7", "5"], stdin=subprocess.PIPE,
                                        stdout=subprocess.PIPE, text=True))
assert grabber.stdout.readline().strip() == "held", "the other client holds the combination"
home = Home()
app, port = start_with_api(exe, home)
# The hotkey has been tried before the tray icon shows; its failure is reported on standard output, once.
wait_for_tray_icons(1)
app.wait_out("Failed to register hotkey: 10")
assert [line for line in app.out if line.startswith("Failed to register")] == ["Failed to register hotkey: 10"]
status, body = api(port, "GET", "/status")
assert status == 200 and body["status"] == "running" and body["apiPort"] == port, body

# A capture starts as if the hotkey had been pressed, from the API and from a later `quillora --capture`.
assert api(port, "POST", "/capture") == (200, {"success": True, "message": "Capture initiated"})
wait_for_window("Quillora Capture")
overlays = len(visible_windows("Quillora Capture"))
# Further requests while it is on the screen are answered as before and ignored: no second set of overlays.
assert api(port, "POST", "/capture")[0] == 200
assert run(exe, "--capture", env=home.env).returncode == 0
time.sleep(1)
assert len(visible_windows("Quillora Capture")) == overlays, app.dump()
escape_capture()
assert run(exe, "--capture", env=home.env).returncode == 0
escape_capture()

# `quillora --sidebar` shows the history sidebar, and hides it again (the desktop entry's "Show history").
for visible in (True, False):
    assert run(exe, "--sidebar", env=home.env).returncode == 0
    wait_until(lambda: api(port, "GET", "/sidebar")[1] == {"visible": visible}, 10, f"--sidebar to make it {visible}")

second = run(exe, env=home.env)
assert second.returncode == 0 and second.stdout.strip() == "Quillora is already running.", second
time.sleep(1)
assert len(tray_icons()) == 1 and api(port, "GET", "/status")[0] == 200, "the first instance alone serves"

assert api(port, "POST", "/quit")[0] == 200
assert app.wait_exit(10) == 0, app.dump()
for option in ("--capture", "--sidebar"):
    alone = run(exe, option, env=home.env)
    assert alone.returncode == 1 and "Quillora is not running" in alone.stderr, alone
print("api e2e: ok")
