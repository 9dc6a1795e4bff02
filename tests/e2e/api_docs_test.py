#!/usr/bin/env python3
"""GET /docs of the real program in headless Chromium, with every host but localhost unresolvable: the page
renders each operation of the OpenAPI document, and its scripts throw nothing, so Swagger UI came from the program
itself. Chromium prints the page as its scripts left it (--dump-dom) and its console on standard error."""
import json
import re
import sys
import tempfile
import time
import urllib.request

from shell_support import Home, run, start_with_api

exe = sys.argv[1]


# Each rendered operation: its method, then the path it shows.
OPERATION = re.compile(r'class="opblock-summary-method"[^>]*>(\w+)<.*?<(?=[^>]*class="opblock-summary-path")'
                       r'[^>]*data-path="([^"]*)"', re.S)


home = Home()
app, port = start_with_api(exe, home)
base = f"http://localhost:{port}"
with urllib.request.urlopen(base + "/openapi.json", timeout=10) as answer:
    document = json.load(answer)
expected = sorted([method.upper(), path] for path, item in document["paths"].items() for method in item)
assert len(expected) > 10, expected

deadline, rendered = time.monotonic() + 90, []
while rendered != expected and time.monotonic() < deadline:
    with tempfile.TemporaryDirectory(prefix="quillora-chromium-") as profile:
        browser = run("chromium", "--headless", "--no-sandbox", "--disable-gpu", "--no-first-run",
                      "--disable-background-networking", "--disable-component-update", "--disable-sync",
                      "--disable-dev-shm-usage", f"--user-data-dir={profile}", "--enable-logging=stderr", "--v=0",
                      # No name resolves but localhost: a page that needs a CDN stays empty.
                      "--host-resolver-rules=MAP * ~NOTFOUND, EXCLUDE localhost", "--virtual-time-budget=20000",
                      "--dump-dom", base + "/docs", timeout=120)
    rendered = sorted(list(operation) for operation in OPERATION.findall(browser.stdout))
assert rendered == expected, f"/docs rendered {rendered}\nexpected {expected}\n{browser.stderr[-3000:]}\n{app.dump()}"
thrown = [line for line in browser.stderr.splitlines() if "CONSOLE" in line and "Uncaught" in line]
assert not thrown, f"the page's scripts threw: {thrown}"
assert app.stop() == 0, app.dump()
print(f"api docs: {len(rendered)} operations rendered without network")
