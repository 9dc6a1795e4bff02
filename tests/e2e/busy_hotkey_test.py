#!/usr/bin/env python3
"""Another X client holds Ctrl+Shift+7: start-up reports the failed registration and keeps running, tray icon
and all (`quillora --capture` still starts captures: single_instance_test.py)."""
import os
import subprocess
import sys
import time

from shell_support import App, Home, accepted_settings, wait_for_tray_icons

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
    time.sleep(1)
    assert app.running(), "a taken hotkey does not stop the program\n" + app.dump()
    assert app.stop() == 0, app.dump()
    print("busy hotkey: ok")
finally:
    grabber.stdin.close()
    grabber.wait(10)
    home.remove()
