#!/usr/bin/env python3
"""Soak of the running program: 8 clients send mixed API traffic (status, history add/list/delete, settings read and
write) as fast as one request every 10 ms each, while a ninth thread starts a capture every few seconds, drags a
selection over a page of text with XTest (xdotool) and closes the editor with Escape. Every 30 s it prints the
requests and errors so far, p50/p99 of the last 30 s, and the program's RSS, open descriptors and threads (/proc).
Run by bench/api-soak.sh inside a virtual desktop with a private home.

    api_soak.py EXE PORT SECONDS"""
import http.client
import json
import os
import random
import statistics
import subprocess
import sys
import threading
import time

exe, port, duration = sys.argv[1], int(sys.argv[2]), float(sys.argv[3])
CLIENTS, PAUSE, REPORT_EVERY, CAPTURE_EVERY = 8, 0.010, 30.0, 5.0

lock = threading.Lock()
latencies = []  # of the current report period, in ms
totals = {"requests": 0, "errors": 0, "captures": 0, "capture errors": 0}
error_samples = []
stop = threading.Event()


def request(method, path, body=None):
    """One request on a new connection, as scripts do; returns (status, parsed JSON or None)."""
    connection = http.client.HTTPConnection("127.0.0.1", port, timeout=10)
    start = time.monotonic()
    try:
        data = json.dumps(body).encode() if body is not None else None
        headers = {"Content-Type": "application/json"} if data else {}
        connection.request(method, path, body=data, headers=headers)
        response = connection.getresponse()
        payload = response.read()
        status = response.status
    except OSError as error:
        status, payload = 0, str(error).encode()
    finally:
        connection.close()
    elapsed = (time.monotonic() - start) * 1000
    ok = 200 <= status < 300
    with lock:
        latencies.append(elapsed)
        totals["requests"] += 1
        if not ok:
            totals["errors"] += 1
            if len(error_samples) < 20:
                error_samples.append(f"{method} {path} -> {status} {payload[:200]!r}")
    try:
        return status, json.loads(payload) if ok and payload else None
    except ValueError:
        return status, None


def client(number):
    rng = random.Random(number)
    mine = []  # ids of the entries this client added and has not deleted yet
    while not stop.is_set():
        choice = rng.random()
        if choice < 0.25:
            request("GET", "/status")
        elif choice < 0.45:
            request("GET", f"/history?limit={rng.choice([1, 10, 50])}")
        elif choice < 0.60 or (choice < 0.75 and not mine):
            status, _ = request("POST", "/history", {"text": f"soak {number} {rng.random()}"})
            if 200 <= status < 300:
                # The answer does not name the entry; find it among the newest ones.
                _, listed = request("GET", "/history?limit=20")
                for entry in (listed or {}).get("entries", []):
                    if entry.get("text", "").startswith(f"soak {number} ") and entry["id"] not in mine:
                        mine.append(entry["id"])
                        break
        elif choice < 0.75:
            request("DELETE", f"/history/{mine.pop(0)}")
        elif choice < 0.90:
            request("GET", "/settings")
        else:
            request("PUT", "/settings", {"removeLineBreaks": rng.random() < 0.5,
                                         "historyMaxEntries": rng.choice([500, 1000])})
        time.sleep(PAUSE)


def xdotool(*args):
    return subprocess.run(["xdotool", *args], capture_output=True, text=True, timeout=10).stdout.strip()


def wait_for(predicate, timeout):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        if predicate():
            return True
        time.sleep(0.05)
    return False


def capturer():
    while not stop.wait(CAPTURE_EVERY):
        with lock:
            totals["captures"] += 1
        status, _ = request("GET", "/capture")
        time.sleep(0.5)  # the overlay is up within tens of milliseconds
        xdotool("mousemove", "40", "40")
        xdotool("mousedown", "1")
        for step in range(1, 9):
            xdotool("mousemove", str(40 + 70 * step), str(40 + 20 * step))
        xdotool("mouseup", "1")
        editor = []
        shown = wait_for(lambda: editor.append(xdotool("search", "--onlyvisible", "--name", "^Captured Text$"))
                         or editor[-1] != "", 20)
        if shown:
            wait_for(lambda: xdotool("getactivewindow") == editor[-1].split()[0], 3)
            xdotool("key", "Escape")
            shown = wait_for(lambda: xdotool("search", "--onlyvisible", "--name", "^Captured Text$") == "", 5)
        if status != 200 or not shown:
            with lock:
                totals["capture errors"] += 1


def proc_figures(pid):
    fields = {}
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            key, _, value = line.partition(":")
            fields[key] = value.strip()
    return int(fields["VmRSS"].split()[0]) / 1024, len(os.listdir(f"/proc/{pid}/fd")), int(fields["Threads"])


def percentile(values, fraction):
    ordered = sorted(values)
    return ordered[min(len(ordered) - 1, int(fraction * len(ordered)))] if ordered else float("nan")


def main():
    app = subprocess.Popen([exe], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        if not wait_for(lambda: request("GET", "/status")[0] == 200, 30):
            sys.exit("the API did not answer")
        with lock:
            latencies.clear()
            totals.update(requests=0, errors=0)
            error_samples.clear()
        threads = [threading.Thread(target=client, args=(n,)) for n in range(CLIENTS)]
        threads.append(threading.Thread(target=capturer))
        for thread in threads:
            thread.start()
        start = time.monotonic()
        print(f"{'time':>6} {'requests':>9} {'errors':>6} {'captures':>8} {'req/s':>6} {'p50 ms':>7} {'p99 ms':>7} "
              f"{'RSS MB':>7} {'fds':>4} {'threads':>7}", flush=True)
        all_latencies, previous = [], 0
        while (elapsed := time.monotonic() - start) < duration:
            time.sleep(min(REPORT_EVERY, duration - elapsed))
            with lock:
                period, latencies[:] = list(latencies), []
                figures = dict(totals)
            all_latencies += period
            rss, fds, thread_count = proc_figures(app.pid)
            now = time.monotonic() - start
            print(f"{now:6.0f} {figures['requests']:9d} {figures['errors']:6d} "
                  f"{figures['captures'] - figures['capture errors']:4d}/{figures['captures']:<3d} "
                  f"{(figures['requests'] - previous) / REPORT_EVERY:6.0f} {percentile(period, 0.5):7.2f} "
                  f"{percentile(period, 0.99):7.2f} {rss:7.1f} {fds:4d} {thread_count:7d}", flush=True)
            previous = figures["requests"]
        stop.set()
        for thread in threads:
            thread.join()
        print(f"total: {totals['requests']} requests, {totals['errors']} errors, "
              f"{totals['captures'] - totals['capture errors']} of {totals['captures']} captures completed; "
              f"p50 {statistics.median(all_latencies):.2f} ms, p99 {percentile(all_latencies, 0.99):.2f} ms")
        for sample in error_samples:
            print("error:", sample)
        if app.poll() is not None:
            sys.exit(f"the program ended during the soak (status {app.returncode})")
        sys.exit(1 if totals["errors"] or totals["capture errors"] else 0)
    finally:
        stop.set()
        app.terminate()
        app.wait(15)


main()
