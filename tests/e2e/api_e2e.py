#!/usr/bin/env python3
"""The real program with "apiEnabled" while another X client holds Ctrl+Shift+7: it reports the failed registration
and keeps running. Over curl the API reads the status, edits the history and the settings (each change lands in the
files), starts a capture (more requests while it is on the screen add nothing) and quits; `--capture` and a second start hand over to the running instance. (Every route's
answers and protections are checked on the server itself in tests/api.)"""
import json
import os
import socket
import subprocess
import sys
import time

from shell_support import (App, Home, accepted_settings, run, tray_icons, visible_windows, wait_for_tray_icons,
                           wait_for_window, wait_until)

exe = sys.argv[1]
grabber_script = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "platform", "linux", "hold_key_grab.py")


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def curl(method, path, body=None):
    """(status, parsed JSON body) of one request."""
    cmd = ["curl", "-sS", "-X", method, "-w", "\n%{http_code}", f"http://127.0.0.1:{port}{path}"]
    if body is not None:
        cmd += ["-H", "Content-Type: application/json", "--data-binary", json.dumps(body)]
    result = run(*cmd)
    assert result.returncode == 0, result
    text, _, status = result.stdout.rpartition("\n")
    return int(status), json.loads(text) if text else None


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
    status, body = curl("GET", "/status")
    # The failed registration is reported on standard output and nowhere else.
    app.wait_out("Failed to register hotkey: 10")
    failures = [line for line in app.out if line.startswith("Failed to register hotkey: ")]
    assert failures == ["Failed to register hotkey: 10"], app.dump()
    assert status == 200 and body["app"] == "Quillora" and body["status"] == "running", body
    assert body["apiPort"] == port and body["historyCount"] == 0 and body["sidebarVisible"] is False, body

    # History: add, list, delete by a lower-case id, clear.
    assert curl("POST", "/history", {"text": "first from curl"}) == (201, {"success": True, "message": "Entry added"})
    assert curl("POST", "/history", {"text": "second", "displayName": "Script"})[0] == 201
    status, listing = curl("GET", "/history")
    assert status == 200 and listing["count"] == 2, listing
    assert [e["text"] for e in listing["entries"]] == ["second", "first from curl"], listing
    assert listing["entries"][1]["displayName"] == "API Entry", listing
    history_file = os.path.join(home.root, ".local/share/Quillora/history.json")

    def stored_texts():
        if not os.path.exists(history_file):
            return None
        with open(history_file, encoding="utf-8") as f:
            return [e["text"] for e in json.load(f)]

    # Written within the history's save delay of the change.
    wait_until(lambda: stored_texts() == ["second", "first from curl"], 5, lambda: f"history.json: {stored_texts()}")
    doomed = listing["entries"][1]["id"].lower()
    assert curl("DELETE", f"/history/{doomed}") == (200, {"success": True, "message": "Entry deleted"})
    assert [e["text"] for e in curl("GET", "/history")[1]["entries"]] == ["second"]
    assert curl("DELETE", f"/history/{doomed}") == (404, {"error": "Entry not found"})
    assert curl("DELETE", "/history") == (200, {"success": True, "message": "History cleared"})
    assert curl("GET", "/history")[1] == {"entries": [], "count": 0}

    # Settings: read, change, and the change is stored.
    status, settings = curl("GET", "/settings")
    assert status == 200 and settings["apiEnabled"] is True and settings["apiPort"] == port, settings
    assert curl("PUT", "/settings", {"historyMaxEntries": 7, "removeLineBreaks": True, "apiPort": 1})[0] == 200
    changed = curl("GET", "/settings")[1]
    assert changed["historyMaxEntries"] == 7 and changed["removeLineBreaks"] is True, changed
    assert changed["apiPort"] == port, "the update route does not move the server"
    assert home.settings()["historyMaxEntries"] == 7

    # A capture starts as if the hotkey had been pressed, from the API and from a later `quillora --capture`.
    assert curl("POST", "/capture") == (200, {"success": True, "message": "Capture initiated"})
    wait_for_window("Quillora Capture")
    overlays = len(visible_windows("Quillora Capture"))
    # Further requests while it is on the screen are answered as before and ignored: no second set of overlays.
    assert curl("POST", "/capture") == (200, {"success": True, "message": "Capture initiated"})
    assert run(exe, "--capture", env=home.env()).returncode == 0
    time.sleep(1)
    assert len(visible_windows("Quillora Capture")) == overlays, app.dump()
    escape_capture()
    capture = run(exe, "--capture", env=home.env())
    assert capture.returncode == 0, capture
    escape_capture()

    # `quillora --sidebar` shows the history sidebar, and hides it again (the desktop entry's "Show history").
    for visible in (True, False):
        assert run(exe, "--sidebar", env=home.env()).returncode == 0
        wait_until(lambda: curl("GET", "/sidebar")[1] == {"visible": visible}, 10,
                   lambda: f"the sidebar {'shown' if visible else 'hidden'} by --sidebar")

    second = run(exe, env=home.env())
    assert second.returncode == 0 and second.stdout.strip() == "Quillora is already running.", second
    time.sleep(1)
    assert tray_icons() == 1, "no second tray icon"
    assert curl("GET", "/status")[0] == 200, "the running instance still serves"

    assert curl("POST", "/quit") == (200, {"success": True, "message": "App quitting"})
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
