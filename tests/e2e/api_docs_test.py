#!/usr/bin/env python3
"""GET /docs of the real program in headless Chromium, with every host but localhost unresolvable: the page
renders each operation of the OpenAPI document, so Swagger UI came from the program itself. Chromium is driven
over the DevTools protocol on a pipe (--remote-debugging-pipe), and the test polls the rendered page."""
import json
import os
import shutil
import subprocess
import sys
import tempfile
import time
import urllib.request

from shell_support import App, Home, accepted_settings, free_port

exe = sys.argv[1]

# What the page's operations show, as [method, path] pairs.
RENDERED = """JSON.stringify(Array.from(document.querySelectorAll('.opblock')).map(block => [
    (block.querySelector('.opblock-summary-method') || {}).textContent,
    (block.querySelector('.opblock-summary-path') || {dataset: {}}).dataset.path]))"""


class Chromium:
    """A headless Chromium whose DevTools protocol runs over two pipes (its file descriptors 3 and 4)."""

    def __init__(self):
        self.profile = tempfile.mkdtemp(prefix="quillora-chromium-")
        to_browser_read, self._to_browser = os.pipe()
        self._from_browser, from_browser_write = os.pipe()

        def pipes_as_3_and_4():
            os.dup2(to_browser_read, 3)
            os.dup2(from_browser_write, 4)

        self.proc = subprocess.Popen(
            ["chromium", "--headless", "--no-sandbox", "--disable-gpu", "--no-first-run",
             "--disable-background-networking", "--disable-component-update", "--disable-sync",
             "--disable-dev-shm-usage", f"--user-data-dir={self.profile}", "--remote-debugging-pipe",
             # No name resolves but localhost: a page that needs a CDN stays empty.
             "--host-resolver-rules=MAP * ~NOTFOUND, EXCLUDE localhost", "about:blank"],
            # The descriptors are made 3 and 4 after the others are closed: keep those numbers open.
            preexec_fn=pipes_as_3_and_4, pass_fds=(3, 4),
            stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(to_browser_read)
        os.close(from_browser_write)
        self._next_id = 0
        self._buffer = b""
        self.exceptions = []  # what the page's scripts threw (Runtime.exceptionThrown)

    def call(self, method, params=None, session=None, timeout=30):
        self._next_id += 1
        message = {"id": self._next_id, "method": method, "params": params or {}}
        if session:
            message["sessionId"] = session
        os.write(self._to_browser, json.dumps(message).encode() + b"\0")
        deadline = time.monotonic() + timeout
        while True:
            while b"\0" in self._buffer:
                raw, self._buffer = self._buffer.split(b"\0", 1)
                answer = json.loads(raw)
                if answer.get("method") == "Runtime.exceptionThrown":
                    self.exceptions.append(answer["params"]["exceptionDetails"])
                if answer.get("id") == self._next_id:
                    if "error" in answer:
                        raise AssertionError(f"{method}: {answer['error']}")
                    return answer["result"]
            if time.monotonic() > deadline:
                raise AssertionError(f"Chromium did not answer {method}")
            chunk = os.read(self._from_browser, 65536)
            if not chunk:
                raise AssertionError(f"Chromium ended while answering {method}")
            self._buffer += chunk

    def close(self):
        try:
            self.call("Browser.close", timeout=10)
        except (AssertionError, OSError):
            pass
        try:
            self.proc.wait(15)
        except subprocess.TimeoutExpired:
            self.proc.kill()
            self.proc.wait()
        os.close(self._to_browser)
        os.close(self._from_browser)
        shutil.rmtree(self.profile, ignore_errors=True)


port = free_port()
home = Home()
app = browser = None
try:
    home.preset({**accepted_settings(), "apiEnabled": True, "apiPort": port})
    app = App(exe, home)
    app.wait_out(f"🌐 HTTP API Server started on port {port}")
    base = f"http://localhost:{port}"
    with urllib.request.urlopen(base + "/openapi.json", timeout=10) as answer:
        document = json.load(answer)
    expected = sorted([method.upper(), path] for path, item in document["paths"].items() for method in item)
    assert len(expected) > 10, expected

    browser = Chromium()
    page = next(t for t in browser.call("Target.getTargets")["targetInfos"] if t["type"] == "page")
    session = browser.call("Target.attachToTarget", {"targetId": page["targetId"], "flatten": True})["sessionId"]
    browser.call("Runtime.enable", {}, session)
    browser.call("Page.navigate", {"url": base + "/docs"}, session)
    rendered = []
    deadline = time.monotonic() + 60
    while time.monotonic() < deadline:
        result = browser.call("Runtime.evaluate", {"expression": RENDERED, "returnByValue": True}, session)
        rendered = sorted(json.loads(result["result"].get("value") or "[]"))
        if rendered == expected:
            break
        time.sleep(0.25)
    assert rendered == expected, f"/docs rendered {rendered}\nexpected {expected}\n{app.dump()}"
    assert not browser.exceptions, f"the page's scripts threw: {browser.exceptions}"
    print(f"api docs: {len(rendered)} operations rendered without network")
finally:
    if browser:
        browser.close()
    if app:
        app.stop()
    home.remove()
