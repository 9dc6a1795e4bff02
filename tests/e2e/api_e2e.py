#!/usr/bin/env python3
"""The HTTP control API of the real program, spoken to with curl: with "apiEnabled" in a fresh home, read the
status, add, list, delete and clear history entries, read and change settings, start a capture, and quit. Each
change is seen by the very next request and lands in the program's files. (Every route's answers, the limits and
the protections against other machines and web pages are checked on the server itself in tests/api.)"""
import json
import os
import socket
import sys
import time

from shell_support import App, Home, accepted_settings, run

exe = sys.argv[1]


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


port = free_port()
home = Home()
try:
    home.preset({**accepted_settings(), "apiEnabled": True, "apiPort": port})
    app = App(exe, home)
    app.wait_out(f"🔧 API Setup: enabled=true, port={port}")
    app.wait_out(f"🌐 HTTP API Server started on port {port}")

    status, body = curl("GET", "/status")
    assert status == 200, (status, body)
    assert body["app"] == "Quillora" and body["status"] == "running", body
    assert body["apiPort"] == port and body["historyCount"] == 0 and body["sidebarVisible"] is False, body

    # History: add, list, delete by a lower-case id, clear.
    assert curl("POST", "/history", {"text": "first from curl"}) == (201, {"success": True, "message": "Entry added"})
    assert curl("POST", "/history", {"text": "second", "displayName": "Script"})[0] == 201
    status, listing = curl("GET", "/history")
    assert status == 200 and listing["count"] == 2, listing
    assert [e["text"] for e in listing["entries"]] == ["second", "first from curl"], listing
    assert listing["entries"][1]["displayName"] == "API Entry", listing
    history_file = os.path.join(home.root, ".local/share/Quillora/history.json")
    with open(history_file, encoding="utf-8") as f:
        assert [e["text"] for e in json.load(f)] == ["second", "first from curl"]
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

    # A capture starts as if the hotkey had been pressed.
    assert curl("POST", "/capture") == (200, {"success": True, "message": "Capture initiated"})
    app.wait_out("📸 Capture started - draw a rectangle to select text area")
    time.sleep(0.5)
    run("xdotool", "key", "Escape")

    assert curl("POST", "/quit") == (200, {"success": True, "message": "App quitting"})
    assert app.wait_exit(10) == 0, app.dump()
    assert "🌐 HTTP API Server stopped" in app.out, app.dump()
    print("api e2e: ok")
finally:
    if "app" in globals() and app.running():
        app.stop()
    home.remove()
