#!/usr/bin/env python3
"""The HTTP API's input, window and screen routes on the real program, next to another application's window (a text
field, a button and a slider): pointer moves, clicks and drags land where they are asked to, a long drag leaves the
API answering, text of any script is typed on a US and a German layout and the keymap is as it was afterwards, a
capture's overlays and then its editor are listed, and /screen is the primary monitor. The desktop decides what is
checked: without XTEST the input routes refuse; with two monitors whose primary is the right one, positions count
from that monitor's corner."""
import json
import os
import statistics
import subprocess
import sys
import threading
import time

from capture_support import TextWindow, monitors as desktop_monitors, png_size
from shell_support import App, Home, accepted_settings, api as request, free_port, run, wait_until

exe, input_window_exe, text_window_exe = sys.argv[1:4]
TEXT = "Grüße, naïve café — 日本 ✓"


def keymap():
    return run("xmodmap", "-pke").stdout


def pointer_on_root():
    out = run("xdotool", "getmouselocation", "--shell").stdout
    values = dict(line.split("=") for line in out.split())
    return int(values["X"]), int(values["Y"])


class InputWindow:
    """The other application's window; rects are in API coordinates (from the primary monitor's corner)."""

    def __init__(self, x, y):
        self.proc = subprocess.Popen([input_window_exe, str(x), str(y)], stdout=subprocess.PIPE,
                                     stdin=subprocess.DEVNULL, text=True)
        self.lines = []
        self._reader = threading.Thread(target=self._read, daemon=True)
        self._reader.start()
        ready = wait_until(lambda: next((l for l in self.lines if l.startswith("ready ")), None), 30,
                           "the input window")
        numbers = [int(v) for v in ready.split() if v.lstrip("-").isdigit()]
        self.field, self.button, self.slider = (self._api_rect(numbers[i:i + 4]) for i in (0, 4, 8))

    @staticmethod
    def _api_rect(rect):
        return rect[0] - origin[0], rect[1] - origin[1], rect[2], rect[3]

    def _read(self):
        for line in self.proc.stdout:
            self.lines.append(line.rstrip("\n"))

    def wait_line(self, line, timeout=15):
        wait_until(lambda: line in self.lines, timeout, lambda: f"{line!r} from the input window: {self.lines[-5:]}")

    def text(self):
        texts = [json.loads(l[5:]) for l in self.lines if l.startswith("text ")]
        return texts[-1] if texts else ""

    def close(self):
        self.proc.terminate()
        self.proc.wait(10)


def centre(rect):
    return rect[0] + rect[2] // 2, rect[1] + rect[3] // 2


def api(method, path, body=None):
    return request(port, method, path, body)


def ok(method, path, body=None):
    status, answer = api(method, path, body)
    assert status == 200, (method, path, status, answer)
    return answer


def windows_of_type(kind):
    return [w for w in ok("GET", "/windows")["windows"] if w["type"] == kind]


def check_refused_without_xtest():
    requests = [("/mouse/move", {"x": 1, "y": 1}), ("/mouse/click", {}),
                ("/mouse/drag", {"fromX": 1, "fromY": 1, "toX": 2, "toY": 2}), ("/keyboard/type", {"text": "a"}),
                ("/keyboard/key", {"key": "a"}), ("/keyboard/hotkey", {"keys": ["a"]})]
    for path, body in requests:
        status, answer = api("POST", path, body)
        assert status == 403 and answer["error"] == "Accessibility permission required", (path, status, answer)
        assert "XTEST" in answer["message"], answer
    position = ok("GET", "/mouse/position")["position"]
    assert set(position) == {"x", "y"}, position


def check_pointer(window):
    # Positions count from the primary monitor's corner; on a desktop whose primary monitor is the right one a
    # negative x is on the left monitor.
    for x, y in [(321, 123), (-100, 50)] if origin[0] else [(321, 123)]:
        assert ok("POST", "/mouse/move", {"x": x, "y": y}) == {"success": True, "position": {"x": x, "y": y}}
        wait_until(lambda: pointer_on_root() == (x + origin[0], y + origin[1]), 5,
                   lambda: f"the pointer at {(x, y)} from the primary monitor, on the root at {pointer_on_root()}")
        position = ok("GET", "/mouse/position")["position"]
        assert abs(position["x"] - x) <= 1 and abs(position["y"] - y) <= 1, position

    ok("POST", "/mouse/click", {"x": centre(window.button)[0], "y": centre(window.button)[1]})
    window.wait_line("clicked 1")
    sx, sy, sw, sh = window.slider
    ok("POST", "/mouse/drag", {"fromX": sx + 3, "fromY": sy + sh // 2, "toX": sx + sw - 3, "toY": sy + sh // 2,
                               "duration": 0.3, "steps": 10})
    window.wait_line("slider 100")


def check_long_drag(window):
    """A drag of 5 s: the API keeps answering, with the main thread's own part of the status, while it runs."""
    sx, sy, sw, sh = window.slider
    started = time.monotonic()
    ok("POST", "/mouse/drag", {"fromX": sx + sw - 3, "fromY": sy + sh // 2, "toX": sx + 3, "toY": sy + sh // 2,
                               "duration": 5, "steps": 100})
    latencies, positions = [], []
    while time.monotonic() - started < 4.5:
        before = time.monotonic()
        assert ok("GET", "/status")["status"] == "running"
        latencies.append(time.monotonic() - before)
        positions.append(ok("GET", "/mouse/position")["position"]["x"])
        time.sleep(0.25)
    assert "slider 0" not in window.lines, "the drag is still going"
    assert len(set(positions)) >= 5, f"the pointer moves during the drag: {positions}"
    window.wait_line("slider 0", 10)
    print(f"status during a 5 s drag: median {statistics.median(latencies) * 1000:.0f} ms, "
          f"max {max(latencies) * 1000:.0f} ms over {len(latencies)} requests")
    assert statistics.median(latencies) < 0.1, latencies
    # A main thread asleep for the drag would hold every status for up to its 1 s time-out.
    assert max(latencies) < 0.5, latencies


def check_capture_windows(text_window):
    count = len(monitors)
    assert ok("POST", "/capture") == {"success": True, "message": "Capture initiated"}
    overlays = wait_until(lambda: (lambda found: found if len(found) == count else None)(
        windows_of_type("captureOverlay")), 15, f"{count} capture overlays in /windows")
    assert sorted(w["frame"]["x"] for w in overlays) == sorted(m[0] - origin[0] for m in monitors), overlays
    assert all(w["level"] == 1000 for w in overlays), overlays
    status, overlay = api("GET", "/overlay/screenshot?maxSize=100")
    assert status == 200 and png_size(overlay)[0] == 100, (status, overlay[:100])

    # A drag over the other window's text through the API makes the selection; the editor follows.
    x, y, w, h = (text_window.rect[0] - origin[0], text_window.rect[1] - origin[1]) + tuple(text_window.rect[2:])
    ok("POST", "/mouse/drag", {"fromX": x - 10, "fromY": y - 10, "toX": x + w + 10, "toY": y + h + 10,
                               "duration": 0.3, "steps": 12})
    editor = wait_until(lambda: windows_of_type("textEditor"), 60, "the text editor in /windows")
    assert not windows_of_type("captureOverlay"), "the overlays closed"
    wait_until(lambda: windows_of_type("textEditor")[0]["isKey"], 10, f"the editor active: {editor}")
    ok("POST", "/keyboard/key", {"key": "Escape"})
    wait_until(lambda: not windows_of_type("textEditor"), 10, "Escape to close the editor")


def check_screen():
    primary = next((m for m in monitors if m[4]), monitors[0])
    status, image = api("GET", "/screen")
    assert status == 200 and png_size(image) == (primary[2], primary[3]), (status, image[:40])
    path = os.path.join(home.root, "screen.png")
    with open(path, "wb") as f:
        f.write(image)
    status, small = api("GET", "/screen?maxSize=100")
    assert status == 200 and png_size(small) == (100, primary[3] * 100 // primary[2]), png_size(small)
    return path


def check_typing(window, layout):
    if layout != "us":
        assert run("setxkbmap", layout).returncode == 0
    before = keymap()
    # The field gets the keyboard, and is emptied.
    fx, fy = centre(window.field)
    ok("POST", "/mouse/click", {"x": fx, "y": fy})
    ok("POST", "/keyboard/hotkey", {"keys": ["ctrl", "a"]})
    ok("POST", "/keyboard/key", {"key": "delete"})
    wait_until(lambda: window.text() == "", 10, lambda: f"an empty field, not {window.text()!r}")

    assert ok("POST", "/keyboard/type", {"text": TEXT, "delay": 20}) == {"success": True, "typed": TEXT}
    wait_until(lambda: window.text() == TEXT, 30, lambda: f"{TEXT!r} in the field on {layout}: {window.text()!r}")
    wait_until(lambda: keymap() == before, 10, f"the {layout} keymap as it was before the typing")
    assert window.text() == TEXT, f"nothing typed after the text: {window.text()!r}"

    # Ctrl is "ctrl" and, for scripts written for other desktops, "cmd" too.
    ok("POST", "/keyboard/hotkey", {"keys": ["ctrl", "a"]})
    ok("POST", "/keyboard/hotkey", {"keys": ["cmd", "c"]})
    wait_until(lambda: clipboard_text() == TEXT, 10, lambda: f"the text on the clipboard: {clipboard_text()!r}")


def clipboard_text():
    return run("xclip", "-o", "-selection", "clipboard", "-t", "UTF8_STRING").stdout


home = Home()
port = free_port()
windows = []
try:
    home.preset({**accepted_settings(), "apiEnabled": True, "apiPort": port})
    monitors = list(desktop_monitors().values())
    primary_monitor = next((m for m in monitors if m[4]), monitors[0])
    origin = primary_monitor[0], primary_monitor[1]
    xtest = "XTEST" in run("xdpyinfo", "-queryExtensions").stdout
    app = App(exe, home)
    wait_until(lambda: run("curl", "-s", f"http://127.0.0.1:{port}/status").returncode == 0, 30,
               lambda: "the API server\n" + app.dump())

    if not xtest:
        check_refused_without_xtest()
        print("api input e2e: refused without XTEST: ok")
    else:
        # On the primary monitor, wherever that is.
        window = InputWindow(origin[0] + 200, origin[1] + 200)
        windows.append(window)
        check_pointer(window)
        text_window = TextWindow(text_window_exe, origin[0] + 300, origin[1] + 500,
                                 ["Quillora reads this line", "and this one too"], home.root)
        windows.append(text_window)
        check_capture_windows(text_window)
        screen_path = check_screen()
        # The primary monitor's image shows the input window's white field where the API says it is.
        fx, fy = centre(window.field)
        mean = float(run("convert", screen_path, "-crop", f"1x1+{fx}+{fy}", "-format", "%[fx:mean]",
                         "info:").stdout)
        assert mean > 0.9, f"the field is not at {(fx, fy)} of /screen: {mean}"
        if len(monitors) == 1:
            check_long_drag(window)
            check_typing(window, "us")
            check_typing(window, "de")
        print("api input e2e: ok")
    assert app.stop() == 0, app.dump()
finally:
    for opened in windows:
        opened.close()
    if "app" in globals() and app.running():
        app.stop()
    home.remove()
