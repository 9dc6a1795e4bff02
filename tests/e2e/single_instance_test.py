#!/usr/bin/env python3
"""One instance per user: a second start hands over to the running one without a second tray icon, and
`quillora --capture` starts a capture there; without a running instance it fails with a clear message."""
import sys
import time

from shell_support import App, Home, accepted_settings, run, tray_icons, wait_for_tray_icons

exe = sys.argv[1]
home = Home()
try:
    home.preset(accepted_settings())
    app = App(exe, home)
    app.wait_out("🔧 API server disabled in settings")
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
    assert app.running()
    assert app.out.count("🔧 API server disabled in settings") == 1, "the running instance did not start again"

    assert app.stop() == 0, app.dump()
    alone = run(exe, "--capture", env=home.env())
    assert alone.returncode == 1, alone
    assert "Quillora is not running" in alone.stderr, alone
    print("single instance: ok")
finally:
    home.remove()
