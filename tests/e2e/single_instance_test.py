#!/usr/bin/env python3
"""One instance per user, while another X client holds Ctrl+Shift+7: start-up reports the failed registration and
keeps running, tray icon and all; `quillora --capture` starts a capture in it; a second start hands over to it
without a second tray icon; without a running instance `--capture` fails with a clear message."""
import os
import subprocess
import sys
import time

from shell_support import App, Home, accepted_settings, run, tray_icons, wait_for_tray_icons

exe = sys.argv[1]
grabber_script = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "platform", "hold_key_grab.py")
# Control (4) + Shift (1), as the other program would grab it.
grabber = subprocess.Popen([sys.executable, grabber_script, "7", "5"], stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                           text=True)
home = Home()
try:
    home.preset(accepted_settings())
    assert grabber.stdout.readline().strip() == "held", "the other client holds the combination"
    app = App(exe, home)
    app.wait_out("🔧 API server disabled in settings")
    failures = [line for line in app.out if line.startswith("Failed to register hotkey: ")]
    assert failures == ["Failed to register hotkey: 10"], app.dump()
    wait_for_tray_icons(1)

    capture = run(exe, "--capture", env=home.env())
    assert capture.returncode == 0, capture
    app.wait_out("📸 Capture started - draw a rectangle to select text area")
    app.wait_err(r"^  Captured 1 screens$")
    run("xdotool", "key", "Escape")

    second = run(exe, env=home.env())
    assert second.returncode == 0, second
    assert second.stdout.strip() == "Quillora is already running.", second
    time.sleep(1)
    assert tray_icons() == 1, "no second tray icon"
    assert app.running(), "a taken hotkey does not stop the program\n" + app.dump()
    assert app.out.count("🔧 API server disabled in settings") == 1, "the running instance did not start again"

    assert app.stop() == 0, app.dump()
    alone = run(exe, "--capture", env=home.env())
    assert alone.returncode == 1, alone
    assert "Quillora is not running" in alone.stderr, alone
    print("single instance: ok")
finally:
    grabber.stdin.close()
    grabber.wait(10)
    home.remove()
