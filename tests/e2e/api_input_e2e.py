#!/usr/bin/env python3
"""The HTTP API's input, window and screen routes on the real program, next to another application's window (a text
field, a button and a slider). Without XTEST the input routes refuse; with two monitors whose primary is the right
one, positions count from that monitor's corner."""
import json
import statistics
import subprocess
import sys
import time

from shell_support import (Home, OtherWindow, TextWindow, api, api_ok, monitors, png_size, run, start_with_api,
                           wait_until)

exe, window_exe = sys.argv[1:3]
TEXT = "Grüße, naïve café — 日本 ✓"


class InputWindow(OtherWindow):
    """The other application's window; rects are in API coordinates (from the primary monitor's corner)."""

    def __init__(self, x, y):
        super().__init__(window_exe, "--input", x, y)
        self.field, self.button, self.slider = ((r[0] - origin[0], r[1] - origin[1], r[2], r[3]) for r in self.rects)

    def wait_line(self, line, timeout=15):
        wait_until(lambda: line in self.lines, timeout, lambda: f"{line!r} from the input window: {self.lines[-5:]}")

    def text(self):
        texts = [json.loads(l[5:]) for l in self.lines if l.startswith("text ")]
        return texts[-1] if texts else ""


def centre(rect):
    return {"x": rect[0] + rect[2] // 2, "y": rect[1] + rect[3] // 2}


def windows_of_type(kind):
    return [w for w in api_ok(port, "GET", "/windows")["windows"] if w["type"] == kind]


def slider_drag(window, to_left, duration, steps):
    sx, sy, sw, sh = window.slider
    ends = (sx + 3, sx + sw - 3)[::-1 if to_left else 1]
    api_ok(port, "POST", "/mouse/drag", {"fromX": ends[0], "fromY": sy + sh // 2, "toX": ends[1],
                                         "toY": sy + sh // 2, "duration": duration, "steps": steps})


def pointer_on_root():
    return tuple(int(v.split("=")[1]) for v in run("xdotool", "getmouselocation", "--shell").stdout.split()[:2])


def check_pointer(window):
    # Positions count from the primary monitor's corner: with the right one primary, a negative x is on the left one.
    for x, y in [(321, 123), (-100, 50)] if origin[0] else [(321, 123)]:
        assert api_ok(port, "POST", "/mouse/move", {"x": x, "y": y}) == {"success": True, "position": {"x": x, "y": y}}
        wait_until(lambda: pointer_on_root() == (x + origin[0], y + origin[1]), 5,
                   lambda: f"the pointer at {(x, y)} from the primary monitor, on the root at {pointer_on_root()}")
        position = api_ok(port, "GET", "/mouse/position")["position"]
        assert abs(position["x"] - x) <= 1 and abs(position["y"] - y) <= 1, position
    api_ok(port, "POST", "/mouse/click", centre(window.button))
    window.wait_line("clicked 1")
    slider_drag(window, False, 0.3, 10)
    window.wait_line("slider 100")


def check_long_drag(window):
    """A drag of 5 s: the API, the main thread's part of /status included, keeps answering quickly while it runs."""
    started = time.monotonic()
    slider_drag(window, True, 5, 100)
    latencies, positions = [], []
    while time.monotonic() - started < 4.5:
        before = time.monotonic()
        assert api_ok(port, "GET", "/status")["status"] == "running"
        latencies.append(time.monotonic() - before)
        positions.append(api_ok(port, "GET", "/mouse/position")["position"]["x"])
        time.sleep(0.25)
    assert "slider 0" not in window.lines, "the drag is still going"
    assert len(set(positions)) >= 5, f"the pointer moves during the drag: {positions}"
    window.wait_line("slider 0", 10)
    print(f"status during a 5 s drag: median {statistics.median(latencies) * 1000:.0f} ms, "
          f"max {max(latencies) * 1000:.0f} ms over {len(latencies)} requests")
    assert statistics.median(latencies) < 0.1 and max(latencies) < 0.5, latencies


def check_capture_windows(rect):
    assert api_ok(port, "POST", "/capture") == {"success": True, "message": "Capture initiated"}
    overlays = wait_until(lambda: (lambda found: len(found) == len(screens) and found)(
        windows_of_type("captureOverlay")), 15, f"{len(screens)} capture overlays in /windows")
    assert sorted(w["frame"]["x"] for w in overlays) == sorted(m[0] - origin[0] for m in screens), overlays
    # A drag over the other window's text through the API makes the selection; the editor follows.
    x, y, w, h = rect[0] - origin[0], rect[1] - origin[1], rect[2], rect[3]
    api_ok(port, "POST", "/mouse/drag", {"fromX": x - 10, "fromY": y - 10, "toX": x + w + 10, "toY": y + h + 10,
                                         "duration": 0.3, "steps": 12})
    wait_until(lambda: windows_of_type("textEditor"), 60, "the text editor in /windows")
    wait_until(lambda: windows_of_type("textEditor")[0]["isKey"], 10, "the editor active")
    api_ok(port, "POST", "/keyboard/key", {"key": "Escape"})
    wait_until(lambda: not windows_of_type("textEditor"), 10, "Escape to close the editor")


def check_screen(window):
    status, image = api(port, "GET", "/screen")
    assert status == 200 and png_size(image) == primary[2:4], (status, image[:40])
    # The primary monitor's image shows the input window's white field where the API says it is.
    fx, fy = centre(window.field).values()
    mean = float(subprocess.run(["convert", "png:-", "-crop", f"1x1+{fx}+{fy}", "-format", "%[fx:mean]", "info:"],
                                input=image, capture_output=True).stdout)
    assert mean > 0.9, f"the field is not at {(fx, fy)} of /screen: {mean}"


def check_typing(window, layout):
    if layout != "us":  # the desktop's own layout is left as it is
        assert run("setxkbmap", layout).returncode == 0
    api_ok(port, "POST", "/mouse/click", centre(window.field))
    api_ok(port, "POST", "/keyboard/hotkey", {"keys": ["ctrl", "a"]})
    api_ok(port, "POST", "/keyboard/key", {"key": "delete"})
    wait_until(lambda: window.text() == "", 10, lambda: f"an empty field, not {window.text()!r}")
    assert api_ok(port, "POST", "/keyboard/type", {"text": TEXT, "delay": 20}) == {"success": True, "typed": TEXT}
    wait_until(lambda: window.text() == TEXT, 30, lambda: f"{TEXT!r} in the field on {layout}: {window.text()!r}")
    assert window.text() == TEXT, f"nothing typed after the text: {window.text()!r}"


home = Home()
screens = list(monitors().values())
primary = next((m for m in screens if m[4]), screens[0])
origin = primary[:2]
app, port = start_with_api(exe, home)
if "XTEST" not in run("xdpyinfo", "-queryExtensions").stdout:
    status, answer = api(port, "POST", "/mouse/move", {"x": 1, "y": 1})
    assert status == 403 and "XTEST" in answer["message"], (status, answer)
    assert set(api_ok(port, "GET", "/mouse/position")["position"]) == {"x", "y"}
    print("api input e2e: refused without XTEST: ok")
else:
    # On the primary monitor, wherever that is.
    window = InputWindow(origin[0] + 200, origin[1] + 200)
    check_pointer(window)
    page = TextWindow(window_exe, origin[0] + 300, origin[1] + 500, ["Quillora reads this line", "and this one too"],
                      home.root)
    check_capture_windows(page.rect)
    check_screen(window)
    if len(screens) == 1:
        check_long_drag(window)
        check_typing(window, "us")
        check_typing(window, "de")
    print("api input e2e: ok")
assert app.stop() == 0, app.dump()
