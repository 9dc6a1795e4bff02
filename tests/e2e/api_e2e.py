#!/usr/bin/env python3
"""The real program with "apiEnabled" while another X client holds Ctrl+Shift+7: it reports the failed registration
and keeps running. Over HTTP the API reads the status, edits the history and the settings (each change lands in the
files), starts a capture (more requests while it is on the screen add nothing) and quits; `--capture` and a second start
hand over to the running instance. (Every route's answers and protections are checked on the server itself in
tests/core/api.)"""
import json
import os
import subprocess
import sys
import time

from shell_support import (App, Home, accepted_settings, api, free_port, run, tray_icons, visible_windows,
                           wait_for_tray_icons, wait_for_window, wait_until)

exe = sys.argv[1]
grabber_script = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "platform", "linux", "hold_key_grab.py")


def request(method, path, body=None):
    return api(port, method, path, body)


def escape_capture():
    """Waits for a capture's overlay and ends it with Escape."""
    wait_for_window("Quillora Capture")
    time.sleep(0.3)
    run("xdotool", "key", "Escape")
    wait_until(lambda: not visible_windows("Quillora Capture"), 10, lambda: "Escape to close the overlay")


port = free_port()
# Control (4) + Shift (1), as the other program would grab it.
grabber = subprocess.Popen([sys.executable, grabber_script, "7", "5"], stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                           text=True)
home = Home()
try:
    home.preset({**accepted_settings(), "apiEnabled": True, "apiPort": port})
    assert grabber.stdout.readline().strip() == "held", "the other client holds the combination"
    app = App(exe, home)
    # The server listens and the hotkey has been tried before the tray icon shows.
    wait_for_tray_icons(1)
    status, body = request("GET", "/status")
    # The failed registration is reported on standard output and nowhere else.
    app.wait_out("Failed to register hotkey: 10")
    failures = [line for line in app.out if line.startswith("Failed to register hotkey: ")]
    assert failures == ["Failed to register hotkey: 10"], app.dump()
    assert status == 200 and body["app"] == "Quillora" and body["status"] == "running", body
    assert body["apiPort"] == port and body["historyCount"] == 0 and body["sidebarVisible"] is False, body

    # History and settings changed over the API land in the files.
    history_file = os.path.join(home.root, ".local/share/Quillora/history.json")

    def stored():
        if not os.path.exists(history_file):
            return None
        with open(history_file, encoding="utf-8") as f:
            return [(e["text"], e.get("displayName")) for e in json.load(f)]

    assert request("POST", "/history", {"text": "first from curl"}) == (201, {"success": True, "message": "Entry added"})
    assert request("POST", "/history", {"text": "second", "displayName": "Script"})[0] == 201
    # Written within the history's save delay of the change.
    expected = [("second", "Script"), ("first from curl", "API Entry")]
    wait_until(lambda: stored() == expected, 5, lambda: f"history.json: {stored()}")
    assert request("DELETE", "/history") == (200, {"success": True, "message": "History cleared"})
    wait_until(lambda: stored() == [], 5, lambda: f"history.json: {stored()}")
    assert request("PUT", "/settings", {"historyMaxEntries": 7, "apiPort": 1})[0] == 200
    assert request("GET", "/settings")[1]["apiPort"] == port, "the update route does not move the server"
    assert home.settings()["historyMaxEntries"] == 7

    # A capture starts as if the hotkey had been pressed, from the API and from a later `quillora --capture`.
    assert request("POST", "/capture") == (200, {"success": True, "message": "Capture initiated"})
    wait_for_window("Quillora Capture")
    overlays = len(visible_windows("Quillora Capture"))
    # Further requests while it is on the screen are answered as before and ignored: no second set of overlays.
    assert request("POST", "/capture") == (200, {"success": True, "message": "Capture initiated"})
    assert run(exe, "--capture", env=home.env()).returncode == 0
    time.sleep(1)
    now = visible_windows("Quillora Capture")
    assert len(now) == overlays, f"{overlays} overlay(s), now {now}\n{app.dump()}"
    escape_capture()
    capture = run(exe, "--capture", env=home.env())
    assert capture.returncode == 0, capture
    escape_capture()

    # `quillora --sidebar` shows the history sidebar, and hides it again (the desktop entry's "Show history").
    for visible in (True, False):
        assert run(exe, "--sidebar", env=home.env()).returncode == 0
        wait_until(lambda: request("GET", "/sidebar")[1] == {"visible": visible}, 10,
                   lambda: f"the sidebar {'shown' if visible else 'hidden'} by --sidebar")

    second = run(exe, env=home.env())
    assert second.returncode == 0 and second.stdout.strip() == "Quillora is already running.", second
    time.sleep(1)
    assert tray_icons() == 1, "no second tray icon"
    assert request("GET", "/status")[0] == 200, "the running instance still serves"

    assert request("POST", "/quit") == (200, {"success": True, "message": "App quitting"})
    assert app.wait_exit(10) == 0, app.dump()
    for option in ("--capture", "--sidebar"):
        alone = run(exe, option, env=home.env())
        assert alone.returncode == 1 and "Quillora is not running" in alone.stderr, alone
    print("api e2e: ok")
finally:
    if "app" in globals() and app.running():
        app.stop()
    grabber.stdin.close()
    grabber.wait(10)
    home.remove()
