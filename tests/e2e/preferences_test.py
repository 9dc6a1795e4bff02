#!/usr/bin/env python3
"""The preferences window of the real program, driven with the keyboard and the mouse as a person would: opened from
the tray menu; a switch writes settings.json at once; recording the current hotkey records it instead of starting a
capture; a recorded Ctrl+Alt+K starts captures and Ctrl+Shift+7 no longer does; a combination another X client holds
is recorded all the same and the window says it is used by another program (read off the screen); Generate fills in
an access token; a new port with Apply moves the server."""
import os
import re
import subprocess
import sys
import time

from shell_support import (App, Home, accepted_settings, api, free_port, run, tray_icon_windows, visible_windows,
                           wait_for_tray_icons, wait_for_window, wait_until)

exe = sys.argv[1]
grabber_script = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "platform", "linux", "hold_key_grab.py")


def keys(*names):
    run("xdotool", "key", "--delay", "80", *names)


def status(port, token=None):
    """The HTTP status of GET /status, or None when nothing answers on the port."""
    try:
        return api(port, "GET", "/status", token=token, timeout=5)[0]
    except OSError:
        return None


def screen_text(window):
    """What the window shows, read by Quillora's own recogniser from a screenshot."""
    path = os.path.join(home.root, "window.png")
    run("import", "-window", window, path)
    result = run(exe, "--recognize", path, env=home.env(), timeout=60)
    assert result.returncode == 0, result
    return " ".join(result.stdout.split())


def no_capture_for(seconds):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        assert not visible_windows("Quillora Capture"), f"a capture started\n{app.dump()}"
        time.sleep(0.1)


def settings_have(**expected):
    return lambda: all(home.settings().get(k) == v for k, v in expected.items())


port, new_port = free_port(), free_port()
# Control (4) + Alt (Mod1, 8) on T, as another program would hold it.
grabber = subprocess.Popen([sys.executable, grabber_script, "t", "12"], stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                           text=True)
home = Home()
try:
    assert grabber.stdout.readline().strip() == "held", "the other client holds Ctrl+Alt+T"
    home.preset({**accepted_settings(), "apiEnabled": True, "apiPort": port})
    app = App(exe, home)
    wait_for_tray_icons(1)
    assert status(port) == 200

    # The tray menu: Capture Text, History, Preferences.
    icon = wait_until(tray_icon_windows, 10, "the tray icon's window")[0]
    run("xdotool", "mousemove", "--window", icon, "10", "10", "click", "1")
    time.sleep(0.5)
    keys("Down", "Down", "Down", "Return")
    window = wait_for_window("Preferences")
    run("xdotool", "windowactivate", "--sync", window)
    time.sleep(0.3)

    # The General tab has the keyboard; Tab reaches the hotkey, Reset, then the shadows switch.
    assert "captureWindowShadows" not in home.settings()
    keys("Tab", "Tab", "Tab", "space")
    wait_until(settings_have(captureWindowShadows=True), 5, "the switch to write captureWindowShadows")

    # The current hotkey, pressed while recording, is recorded rather than starting a capture.
    assert "hotkeyKeyCode" not in home.settings()
    keys("shift+Tab", "shift+Tab", "space")
    time.sleep(0.3)
    keys("ctrl+shift+7")
    wait_until(settings_have(hotkeyKeyCode=26, hotkeyModifiers=768), 5, "Ctrl+Shift+7 to be recorded")
    no_capture_for(1)

    # Ctrl+Alt+K: the K key (40) with command and option (256 + 2048).
    keys("space")
    time.sleep(0.3)
    keys("ctrl+alt+k")
    wait_until(settings_have(hotkeyKeyCode=40, hotkeyModifiers=2304), 5, "Ctrl+Alt+K to be recorded")
    keys("ctrl+alt+k")
    wait_until(lambda: visible_windows("Quillora Capture"), 10, lambda: f"Ctrl+Alt+K to start a capture\n{app.dump()}")
    time.sleep(0.3)
    keys("Escape")
    wait_until(lambda: not visible_windows("Quillora Capture"), 10, "Escape to end the capture")
    keys("ctrl+shift+7")
    no_capture_for(1.5)

    # Ctrl+Alt+T, which the other client holds: recorded all the same, refused, and the window says why.
    run("xdotool", "windowactivate", "--sync", window)
    time.sleep(0.3)
    keys("space")
    time.sleep(0.3)
    keys("ctrl+alt+t")
    wait_until(settings_have(hotkeyKeyCode=17, hotkeyModifiers=2304), 5, "Ctrl+Alt+T to be recorded")
    app.wait_out("Failed to register hotkey: 10")
    time.sleep(0.5)
    text = screen_text(window)
    assert "Ctrl+Alt+T is used by another program" in text, text
    keys("ctrl+alt+t")
    no_capture_for(1)

    # To the API tab: back to the tab list, then down three tabs.
    keys("shift+Tab", "Down", "Down", "Down")
    time.sleep(0.3)
    # Enable, port, Apply, documentation, token, Generate.
    keys("Tab", "Tab", "Tab", "Tab", "Tab", "Tab", "space")
    wait_until(lambda: re.fullmatch(r"[0-9A-F]{8}(-[0-9A-F]{4}){3}-[0-9A-F]{12}", home.settings().get("apiToken", "")),
               5, "Generate to store a token")
    token = home.settings()["apiToken"]
    assert status(port, token) == 200, "the running server keeps its port until Apply"

    # Back to the port field, a new port, then Apply.
    keys("shift+Tab", "shift+Tab", "shift+Tab", "shift+Tab", "ctrl+a")
    run("xdotool", "type", str(new_port))
    keys("Tab", "space")
    wait_until(lambda: status(new_port, token) == 200, 10, lambda: f"the server on port {new_port}\n{app.dump()}")
    assert home.settings()["apiPort"] == new_port
    assert status(port) is None, "the old port refuses"
    assert status(new_port) == 401, "with a token set, a request without it is refused"

    assert app.stop() == 0, app.dump()
    print("preferences e2e: ok")
finally:
    if "app" in globals() and app and app.running():
        app.stop()
    grabber.stdin.close()
    grabber.wait(10)
    home.remove()
