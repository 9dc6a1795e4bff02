"""Drives the real quillora program under the virtual desktop: a fresh home (HOME and the XDG folders in a temporary
folder), QUILLORA_LOG_STDERR=1 so that system-log lines arrive on stderr, both streams read line by line."""
import http.client
import json
import os
import re
import shutil
import signal
import socket
import subprocess
import tempfile
import threading
import time


XDG_FOLDERS = {"XDG_CONFIG_HOME": ".config", "XDG_DATA_HOME": ".local/share", "XDG_STATE_HOME": ".local/state",
               "XDG_CACHE_HOME": ".cache", "XDG_RUNTIME_DIR": "runtime"}


class Home:
    def __init__(self):
        self.root = tempfile.mkdtemp(prefix="quillora-e2e-")
        for sub in XDG_FOLDERS.values():
            os.makedirs(os.path.join(self.root, sub), exist_ok=True)
        os.chmod(os.path.join(self.root, "runtime"), 0o700)
        self.settings_path = os.path.join(self.root, ".config", "Quillora", "settings.json")

    def env(self):
        env = dict(os.environ)
        env.update({name: os.path.join(self.root, sub) for name, sub in XDG_FOLDERS.items()})
        env.update({
            "HOME": self.root,
            "QUILLORA_LOG_STDERR": "1",
            "QT_QPA_PLATFORM": "xcb",
            # Window titles are searched for in English.
            "LANGUAGE": "en", "LC_ALL": "C.UTF-8", "LANG": "C.UTF-8",
        })
        return env

    def settings(self):
        with open(self.settings_path, encoding="utf-8") as f:
            return json.load(f)

    def preset(self, values):
        os.makedirs(os.path.dirname(self.settings_path), exist_ok=True)
        with open(self.settings_path, "w", encoding="utf-8") as f:
            json.dump(values, f)

    def remove(self):
        shutil.rmtree(self.root, ignore_errors=True)


class App:
    """One running quillora process and what it printed."""

    def __init__(self, exe, home, *args):
        self.proc = subprocess.Popen([exe, *args], env=home.env(), stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                                     stdin=subprocess.DEVNULL)
        self.out, self.err = [], []
        self._changed = threading.Condition()
        self._readers = [threading.Thread(target=self._read, args=(self.proc.stdout, self.out), daemon=True),
                         threading.Thread(target=self._read, args=(self.proc.stderr, self.err), daemon=True)]
        for reader in self._readers:
            reader.start()

    def _read(self, stream, lines):
        for raw in stream:
            with self._changed:
                lines.append(raw.decode("utf-8", "replace").rstrip("\n"))
                self._changed.notify_all()
        with self._changed:
            self._changed.notify_all()

    def _wait(self, predicate, timeout, what):
        deadline = time.monotonic() + timeout
        with self._changed:
            while not predicate():
                left = deadline - time.monotonic()
                if left <= 0:
                    raise AssertionError(f"timed out waiting for {what}\n{self.dump()}")
                self._changed.wait(min(left, 0.2))

    def wait_out(self, line, timeout=20, count=1):
        self._wait(lambda: self.out.count(line) >= count, timeout, f"stdout line {line!r} x{count}")

    def wait_err(self, pattern, timeout=20, count=1):
        regex = re.compile(pattern)
        self._wait(lambda: sum(1 for l in self.err if regex.search(l)) >= count, timeout,
                   f"stderr matching {pattern!r} x{count}")
        return [l for l in self.err if regex.search(l)]

    def wait_exit(self, timeout=20):
        try:
            code = self.proc.wait(timeout)
        except subprocess.TimeoutExpired:
            raise AssertionError(f"the program did not exit\n{self.dump()}")
        for reader in self._readers:
            reader.join(5)
        return code

    def running(self):
        return self.proc.poll() is None

    def stop(self):
        if self.running():
            self.proc.send_signal(signal.SIGTERM)
        return self.wait_exit()

    def dump(self):
        return "--- stdout\n" + "\n".join(self.out) + "\n--- stderr\n" + "\n".join(self.err[-40:])


def run(*cmd, timeout=20, env=None):
    return subprocess.run(cmd, capture_output=True, text=True, timeout=timeout, env=env)


def visible_windows(name):
    """Ids of the visible top-level windows whose title is exactly name."""
    result = run("xdotool", "search", "--onlyvisible", "--name", "^" + re.escape(name) + "$")
    return result.stdout.split()


def wait_until(predicate, timeout, what):
    """predicate()'s first true answer, polled every 0.1 s; fails naming what it waited for."""
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        result = predicate()
        if result:
            return result
        time.sleep(0.1)
    raise AssertionError(f"timed out waiting for {what() if callable(what) else what}")


def wait_for_window(name, timeout=15):
    ids = wait_until(lambda: visible_windows(name), timeout,
                     lambda: f"a visible window {name!r}; windows: {run('xwininfo', '-root', '-tree').stdout}")
    return ids[0]


def send_keys(window, *keys):
    run("xdotool", "windowactivate", "--sync", window)
    run("xdotool", "key", "--clearmodifiers", *keys)


def tray_icon_windows(name="Quillora"):
    """Ids of the icons called name that the trayer panel hosts (windows reparented below its "panel" window)."""
    tree = run("xwininfo", "-root", "-tree").stdout.splitlines()
    found, panel_depth = [], None
    for line in tree:
        depth = len(line) - len(line.lstrip(" "))
        if panel_depth is not None and depth <= panel_depth:
            panel_depth = None
        if '("panel" "trayer")' in line:
            panel_depth = depth
        elif panel_depth is not None and f'"{name}": ("quillora"' in line:
            found.append(line.split()[0])
    return found


def tray_icons(name="Quillora"):
    return len(tray_icon_windows(name))


def wait_for_tray_icons(expected, timeout=15):
    wait_until(lambda: tray_icons() == expected, timeout, lambda: f"{expected} tray icon(s), found {tray_icons()}")


def accepted_settings():
    return {"hasAcceptedLegal": True, "hasCompletedOnboarding": True}


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def api(port, method, path, body=None, token=None, timeout=30):
    """(status, parsed JSON or raw bytes) of one request to the program's HTTP API."""
    headers = {"Content-Type": "application/json"} if body is not None else {}
    if token:
        headers["Authorization"] = f"Bearer {token}"
    connection = http.client.HTTPConnection("127.0.0.1", port, timeout=timeout)
    try:
        connection.request(method, path, json.dumps(body) if body is not None else None, headers)
        response = connection.getresponse()
        data = response.read()
    finally:
        connection.close()
    if response.getheader("Content-Type") == "application/json":
        return response.status, json.loads(data)
    return response.status, data
