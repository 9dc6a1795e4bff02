#!/usr/bin/env python3
"""Ctrl+Shift+7 runs the capture request and freezes every monitor: on a screen split into two RandR monitors the
capture holds two images, each of its monitor's size."""
import sys
import time

from shell_support import App, Home, accepted_settings, run

exe = sys.argv[1]
home = Home()
try:
    home.preset(accepted_settings())
    app = App(exe, home)
    app.wait_out("🔧 API server disabled in settings")
    assert not any(line.startswith("Failed to register hotkey") for line in app.out), app.dump()

    # One capture per monitor: select on it, and the capture reports the monitor and its still image. The first
    # is started with the hotkey, the second by a later start with --capture.
    for number, (monitor, x) in enumerate((("LEFT", 200), ("RIGHT", 1920 + 200)), start=1):
        time.sleep(0.3)
        if number == 1:
            run("xdotool", "key", "ctrl+shift+7")
        else:
            assert run(exe, "--capture", env=home.env()).returncode == 0
        app.wait_out("📸 Capture started - draw a rectangle to select text area", count=number)
        app.wait_err(r"^  Captured 2 screens$", count=number)
        checks = [l for l in app.out if l == "🔍 Checking Screen Recording permission..."]
        assert len(checks) == number + 1, "each capture request checks the permission first\n" + app.dump()
        time.sleep(0.5)
        run("xdotool", "mousemove", str(x), "300", "mousedown", "1")
        run("xdotool", "mousemove", str(x + 200), "400")
        run("xdotool", "mousemove", str(x + 400), "500", "mouseup", "1")
        found = app.wait_err(rf"^✅ Found screen '{monitor}' and image \d+x\d+", timeout=20)
        assert found[-1].startswith(f"✅ Found screen '{monitor}' and image 1920x1080"), found
        # Recognition ends the capture (the black desktop has no text); Escape closes an editor if one opened.
        app.wait_err(r"^📝 OCR Result", count=number, timeout=30)
        time.sleep(0.3)
        run("xdotool", "key", "Escape")
    assert app.running(), app.dump()
    assert app.stop() == 0, app.dump()
    print("hotkey capture: ok")
finally:
    home.remove()
