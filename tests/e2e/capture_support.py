"""What the end-to-end capture tests share: a window of another application showing a known paragraph, the mouse
drag over it, the clipboard, the monitors of the virtual desktop, the history's files and the error rate of a
recognised text, and a clipboard manager."""
import ctypes
import glob
import json
import os
import re
import subprocess
import time

from shell_support import run, wait_until

def license_lines(name, first, last):
    """Lines first..last (counted from 1) of a license text that every Debian system carries."""
    with open(os.path.join("/usr/share/common-licenses", name), encoding="utf-8") as f:
        return f.read().splitlines()[first - 1:last]


def edit_distance(a, b):
    previous = list(range(len(b) + 1))
    for i, ca in enumerate(a, start=1):
        current = [i]
        for j, cb in enumerate(b, start=1):
            current.append(min(previous[j] + 1, current[j - 1] + 1, previous[j - 1] + (ca != cb)))
        previous = current
    return previous[-1]


def character_error_rate(expected, got):
    # Every run of whitespace counts as one space, as the clean-up makes line breaks and indents.
    expected, got = " ".join(expected.split()), " ".join(got.split())
    return edit_distance(expected, got) / max(1, len(expected))


class TextWindow:
    """Another application's window at (x, y) showing the given lines; rect is the text block on the screen."""

    def __init__(self, exe, x, y, lines, workdir, dark=False):
        path = os.path.join(workdir, f"text-{x}-{y}.txt")
        with open(path, "w", encoding="utf-8") as f:
            f.write("\n".join(lines))
        args = [exe] + (["--dark"] if dark else []) + [str(x), str(y), path]
        self.proc = subprocess.Popen(args, stdout=subprocess.PIPE, stdin=subprocess.DEVNULL, text=True)
        line = self.proc.stdout.readline().split()
        if len(line) != 5 or line[0] != "ready":
            self.close()
            raise AssertionError(f"the text window did not start: {line!r}")
        self.rect = tuple(int(v) for v in line[1:])

    def close(self):
        if self.proc.poll() is None:
            self.proc.terminate()
            self.proc.wait(10)


def drag_around(rect, margin=10, steps=12):
    """Presses the left button just outside the rectangle's top left corner, moves in steps as a hand would to
    just outside its bottom right one, and lets go there."""
    x0, y0, x1, y1 = rect[0] - margin, rect[1] - margin, rect[0] + rect[2] + margin, rect[1] + rect[3] + margin
    run("xdotool", "mousemove", str(x0), str(y0))
    time.sleep(0.05)
    run("xdotool", "mousedown", "1")
    for step in range(1, steps + 1):
        run("xdotool", "mousemove", str(x0 + (x1 - x0) * step // steps), str(y0 + (y1 - y0) * step // steps))
        time.sleep(0.02)
    run("xdotool", "mouseup", "1")


def clipboard(selection="clipboard"):
    return run("xclip", "-o", "-selection", selection).stdout


def selection_owner(name):
    """The window that owns the X selection name, 0 for none."""
    x11 = ctypes.CDLL("libX11.so.6")
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
    x11.XInternAtom.restype = ctypes.c_ulong
    x11.XGetSelectionOwner.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
    x11.XGetSelectionOwner.restype = ctypes.c_ulong
    x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
    display = x11.XOpenDisplay(None)
    assert display, "cannot open the display"
    try:
        return x11.XGetSelectionOwner(display, x11.XInternAtom(display, name.encode(), 0))
    finally:
        x11.XCloseDisplay(display)


class ClipboardManager:
    """Cinnamon's clipboard manager on its own (scripts/install-deps.sh installs it): it owns CLIPBOARD_MANAGER and
    answers SAVE_TARGETS, taking over what a program holds on the clipboard when that program asks it to as it
    quits. Unlike managers that copy every clipboard change as it happens, it keeps only what was handed over."""

    def __init__(self):
        found = glob.glob("/usr/lib/*/cinnamon-settings-daemon/csd-clipboard")
        assert found, "csd-clipboard is missing: run scripts/install-deps.sh"
        self.proc = subprocess.Popen([found[0]], stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                     stderr=subprocess.DEVNULL)
        wait_until(lambda: selection_owner("CLIPBOARD_MANAGER"), 10, "the clipboard manager to start")

    def close(self):
        if self.proc.poll() is None:
            self.proc.terminate()
            self.proc.wait(10)


def monitors():
    """The RandR monitors of the desktop as {name: (x, y, width, height, primary)}."""
    found = {}
    for line in run("xrandr", "--listmonitors").stdout.splitlines()[1:]:
        match = re.match(r"\s*\d+:\s+\+?(\*?)(\S+)\s+(\d+)/\d+x(\d+)/\d+\+(\d+)\+(\d+)", line)
        if match:
            star, name, w, h, x, y = match.groups()
            found[name] = (int(x), int(y), int(w), int(h), star == "*")
    return found


def png_size(data):
    """(width, height) of a PNG given as bytes or as a file's path."""
    if not isinstance(data, bytes):
        with open(data, "rb") as f:
            data = f.read(24)
    assert data[:8] == b"\x89PNG\r\n\x1a\n", data[:40]
    return int.from_bytes(data[16:20], "big"), int.from_bytes(data[20:24], "big")


class HistoryFiles:
    def __init__(self, home):
        self.folder = os.path.join(home.root, ".local/share/Quillora")
        self.file = os.path.join(self.folder, "history.json")

    def entries(self):
        if not os.path.exists(self.file):
            return []
        with open(self.file, encoding="utf-8") as f:
            return json.load(f)

    def wait_entries(self, count, timeout=10):
        wait_until(lambda: len(self.entries()) >= count, timeout, lambda: f"{count} entries in history.json")
        return self.entries()

    def wait_screenshot(self, name, timeout=10):
        """The screenshot's path once its file is complete (screenshots may be written after the entry)."""
        path = os.path.join(self.folder, "Screenshots", name)
        wait_until(lambda: os.path.exists(path) and os.path.getsize(path) > 24, timeout, f"screenshot {path}")
        return path
