"""What the end-to-end tests share: the real quillora program in a fresh home, its windows, tray icon and HTTP API,
another application's window with a known text, the clipboard, the monitors and the history's files. What a test
starts is stopped when it exits, passed or failed."""
import atexit
import ctypes
import glob
import http.client
import json
import os
import re
import shutil
import socket
import subprocess
import tempfile
import threading
import time

XDG_FOLDERS = {"XDG_CONFIG_HOME": ".config", "XDG_DATA_HOME": ".local/share", "XDG_STATE_HOME": ".local/state",
               "XDG_CACHE_HOME": ".cache", "XDG_RUNTIME_DIR": "runtime"}
ACCEPTED = {"hasAcceptedLegal": True, "hasCompletedOnboarding": True}


def stop_at_exit(proc):
    def stop():
        if proc.poll() is None:
            proc.terminate()
            try:
                proc.wait(10)
            except subprocess.TimeoutExpired:
                proc.kill()
    atexit.register(stop)
    return proc


def read_lines(stream, lines):
    """Appends the stream's lines to lines as they come, on a thread of its own."""
    thread = threading.Thread(target=lambda: lines.extend(line.rstrip("\n") for line in stream), daemon=True)
    thread.start()
    return thread


class Home:
    def __init__(self, platform="xcb"):
        self.root = tempfile.mkdtemp(prefix="quillora-e2e-")
        atexit.register(shutil.rmtree, self.root, ignore_errors=True)
        for sub in XDG_FOLDERS.values():
            os.makedirs(os.path.join(self.root, sub), exist_ok=True)
        os.chmod(os.path.join(self.root, "runtime"), 0o700)
        self.settings_path = os.path.join(self.root, ".config", "Quillora", "settings.json")
        # Window titles are searched for in English.
        self.env = {**os.environ, **{name: os.path.join(self.root, sub) for name, sub in XDG_FOLDERS.items()},
                    "HOME": self.root, "QUILLORA_LOG_STDERR": "1", "QT_QPA_PLATFORM": platform, "LANGUAGE": "en",
                    "LC_ALL": "C.UTF-8", "LANG": "C.UTF-8"}

    def settings(self):
        with open(self.settings_path, encoding="utf-8") as f:
            return json.load(f)

    def preset(self, values):
        os.makedirs(os.path.dirname(self.settings_path), exist_ok=True)
        with open(self.settings_path, "w", encoding="utf-8") as f:
            json.dump(values, f)


class App:
    """One running quillora process and what it printed."""

    def __init__(self, exe, home, *args):
        self.proc = stop_at_exit(subprocess.Popen([exe, *args], env=home.env, stdout=subprocess.PIPE,
                                                  stderr=subprocess.PIPE, stdin=subprocess.DEVNULL, text=True,
                                                  encoding="utf-8", errors="replace"))
        self.out, self.err = [], []
        self._readers = [read_lines(self.proc.stdout, self.out), read_lines(self.proc.stderr, self.err)]

    def wait_out(self, line, timeout=20):
        wait_until(lambda: line in self.out, timeout, lambda: f"stdout line {line!r}\n{self.dump()}")

    def wait_exit(self, timeout=20):
        try:
            code = self.proc.wait(timeout)
        except subprocess.TimeoutExpired:
            raise AssertionError(f"the program did not exit\n{self.dump()}")
        for reader in self._readers:
            reader.join(5)
        return code

    def stop(self):
        self.proc.terminate()
        return self.wait_exit()

    def dump(self):
        return "--- stdout\n" + "\n".join(self.out) + "\n--- stderr\n" + "\n".join(self.err[-40:])


def start_with_api(exe, home, **settings):
    """The program with its API on a free port, once the API answers: (app, port)."""
    port = free_port()
    home.preset({**ACCEPTED, "apiEnabled": True, "apiPort": port, **settings})
    app = App(exe, home)
    wait_until(lambda: answers(port), 30, lambda: f"the API on port {port}\n{app.dump()}")
    return app, port


def run(*cmd, timeout=20, env=None):
    return subprocess.run(cmd, capture_output=True, text=True, timeout=timeout, env=env)


def wait_until(predicate, timeout, what):
    """predicate()'s first true answer, polled every 0.1 s; fails naming what it waited for."""
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        result = predicate()
        if result:
            return result
        time.sleep(0.1)
    raise AssertionError(f"timed out waiting for {what() if callable(what) else what}")


def visible_windows(name):
    """Ids of the visible top-level windows whose title is exactly name."""
    return run("xdotool", "search", "--onlyvisible", "--name", "^" + re.escape(name) + "$").stdout.split()


def wait_for_window(name, timeout=15):
    return wait_until(lambda: visible_windows(name), timeout,
                      lambda: f"a visible window {name!r}; windows: {run('xwininfo', '-root', '-tree').stdout}")[0]


def send_keys(window, *keys):
    run("xdotool", "windowactivate", "--sync", window)
    run("xdotool", "key", "--clearmodifiers", *keys)


def tray_icons():
    """Ids of Quillora's icons that the trayer panel hosts (windows reparented below its windows)."""
    tree = "".join(run("xwininfo", "-tree", "-id", panel).stdout
                   for panel in run("xdotool", "search", "--class", "trayer").stdout.split())
    return sorted({line.split()[0] for line in tree.splitlines() if '"Quillora": ("quillora"' in line})


def wait_for_tray_icons(expected, timeout=15):
    wait_until(lambda: len(tray_icons()) == expected, timeout, lambda: f"{expected} tray icon(s): {tray_icons()}")


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def api(port, method, path, body=None, timeout=30):
    """(status, parsed JSON or raw bytes) of one request to the program's HTTP API."""
    headers = {"Content-Type": "application/json"} if body is not None else {}
    connection = http.client.HTTPConnection("127.0.0.1", port, timeout=timeout)
    try:
        connection.request(method, path, json.dumps(body) if body is not None else None, headers)
        response = connection.getresponse()
        data = response.read()
    finally:
        connection.close()
    return response.status, json.loads(data) if response.getheader("Content-Type") == "application/json" else data


def api_ok(port, method, path, body=None):
    status, answer = api(port, method, path, body)
    assert status == 200, (method, path, status, answer)
    return answer


def answers(port):
    """The HTTP status of GET /status, or None when nothing answers on the port."""
    try:
        return api(port, "GET", "/status", timeout=5)[0]
    except OSError:
        return None


def license_lines(name, first, last):
    """Lines first..last (counted from 1) of a license text that every Debian system carries."""
    with open(os.path.join("/usr/share/common-licenses", name), encoding="utf-8") as f:
        return f.read().splitlines()[first - 1:last]


def character_error_rate(expected, got):
    # Every run of whitespace counts as one space, as the clean-up makes line breaks and indents.
    a, b = " ".join(expected.split()), " ".join(got.split())
    previous = list(range(len(b) + 1))
    for i, ca in enumerate(a, start=1):
        current = [i]
        for j, cb in enumerate(b, start=1):
            current.append(min(previous[j] + 1, current[j - 1] + 1, previous[j - 1] + (ca != cb)))
        previous = current
    return previous[-1] / max(1, len(a))


class OtherWindow:
    """Another application's window (e2e_text_window): the rectangles of its "ready" line, and every line it prints."""

    def __init__(self, exe, *args):
        proc = stop_at_exit(subprocess.Popen([exe, *map(str, args)], stdout=subprocess.PIPE, stdin=subprocess.DEVNULL,
                                             text=True))
        self.lines = []
        read_lines(proc.stdout, self.lines)
        ready = wait_until(lambda: next((l for l in self.lines if l.startswith("ready ")), None), 30, "the window")
        numbers = [int(v) for v in ready.split() if v.lstrip("-").isdigit()]
        self.rects = [tuple(numbers[i:i + 4]) for i in range(0, len(numbers), 4)]


class TextWindow(OtherWindow):
    """Another application's window at (x, y) showing the given lines; rect is the text block on the screen."""

    def __init__(self, exe, x, y, lines, workdir, dark=False):
        path = os.path.join(workdir, f"text-{x}-{y}.txt")
        with open(path, "w", encoding="utf-8") as f:
            f.write("\n".join(lines))
        super().__init__(exe, *(["--dark"] if dark else []), x, y, path)
        self.rect = self.rects[0]


def drag(x0, y0, x1, y1, move, press, steps=12, before_release=None):
    """Presses the left button at (x0, y0), moves in steps as a hand would to (x1, y1), and lets go there."""
    move(x0, y0)
    time.sleep(0.05)
    press(True)
    for step in range(1, steps + 1):
        move(x0 + (x1 - x0) * step // steps, y0 + (y1 - y0) * step // steps)
        time.sleep(0.02)
    if before_release:
        before_release()
    press(False)


def drag_around(rect, margin=10):
    """An X pointer drag from just outside the rectangle's top left corner to just outside its bottom right one."""
    drag(rect[0] - margin, rect[1] - margin, rect[0] + rect[2] + margin, rect[1] + rect[3] + margin,
         lambda x, y: run("xdotool", "mousemove", str(x), str(y)),
         lambda down: run("xdotool", "mousedown" if down else "mouseup", "1"))


def escape_capture():
    """Ends the capture whose overlay is coming up with Escape."""
    wait_for_window("Quillora Capture")
    time.sleep(0.3)
    run("xdotool", "key", "Escape")
    wait_until(lambda: not visible_windows("Quillora Capture"), 10, "Escape to close the overlay")


def clipboard(selection="clipboard"):
    return run("xclip", "-o", "-selection", selection, "-t", "UTF8_STRING").stdout


def start_clipboard_manager():
    """Cinnamon's clipboard manager on its own: it keeps only what a program hands over as it quits (SAVE_TARGETS),
    not every clipboard change as it happens. Ready once it owns the CLIPBOARD_MANAGER selection."""
    found = glob.glob("/usr/lib/*/cinnamon-settings-daemon/csd-clipboard")
    assert found, "csd-clipboard is missing: run scripts/install-deps.sh"
    stop_at_exit(subprocess.Popen(found[:1], stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                  stderr=subprocess.DEVNULL))
    x11 = ctypes.CDLL("libX11.so.6")
    x11.XOpenDisplay.restype = ctypes.c_void_p
    display = ctypes.c_void_p(x11.XOpenDisplay(None))
    manager = x11.XInternAtom(display, b"CLIPBOARD_MANAGER", 0)
    wait_until(lambda: x11.XGetSelectionOwner(display, manager), 10, "the clipboard manager to start")
    x11.XCloseDisplay(display)


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
        return wait_until(lambda: len(self.entries()) >= count and self.entries(), timeout,
                          lambda: f"{count} entries in history.json")
