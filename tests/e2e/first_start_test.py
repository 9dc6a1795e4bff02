#!/usr/bin/env python3
"""A fresh home: only the terms window; closing it declines and quits; accepting builds the tray, the hotkey and the quick start;
a later start with both flags shows no window."""
import sys
import time

from shell_support import App, Home, send_keys, tray_icons, visible_windows, wait_for_tray_icons, wait_for_window

exe = sys.argv[1]
home = Home()
try:
    # Closing the terms window with Escape is a decline.
    app = App(exe, home)
    terms = wait_for_window("Welcome to Quillora")
    time.sleep(0.3)
    assert tray_icons() == 0, "no tray icon before the terms are accepted"
    assert not visible_windows("Quillora Quick Start")
    send_keys(terms, "Escape")
    app.wait_out("Legal terms declined - quitting app")
    assert app.wait_exit() == 0, app.dump()
    assert "Legal terms accepted" not in app.out
    assert not any(line.startswith("🔍") for line in app.out), "no permission check after declining"

    # Accepting: Return on the focused accept button.
    app = App(exe, home)
    terms = wait_for_window("Welcome to Quillora")
    send_keys(terms, "Return")
    app.wait_out("🔧 API server disabled in settings")
    expected = ["Legal terms accepted", "🔍 Checking Screen Recording permission...",
                "✅ Screen Recording: Permission granted", "✅ Screen Recording permission granted",
                "🔧 API Setup: enabled=false, port=9876", "🔧 API server disabled in settings"]
    assert app.out[:len(expected)] == expected, app.dump()
    settings = home.settings()
    assert settings["hasAcceptedLegal"] is True and settings["legalAcceptanceDate"], settings
    wait_for_tray_icons(1)
    quick_start = wait_for_window("Quillora Quick Start")
    assert not visible_windows("Welcome to Quillora")
    assert not any(line.startswith("Failed to register hotkey") for line in app.out), app.dump()

    # Finishing the quick start: Next, Next, Get Started.
    send_keys(quick_start, "Return")
    send_keys(quick_start, "Return")
    send_keys(quick_start, "Return")
    app.wait_out("Onboarding completed")
    assert home.settings()["hasCompletedOnboarding"] is True
    assert app.stop() == 0, app.dump()

    # A later start: no window at all, only the tray icon.
    app = App(exe, home)
    app.wait_out("🔧 API server disabled in settings")
    wait_for_tray_icons(1)
    time.sleep(0.5)
    for title in ("Welcome to Quillora", "Quillora Quick Start"):
        assert not visible_windows(title), title
    assert app.stop() == 0, app.dump()
    print("first start: ok")
finally:
    home.remove()
