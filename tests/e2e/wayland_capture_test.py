#!/usr/bin/env python3
"""A whole capture in a Wayland session (headless sway with two outputs side by side, the desktop portal): the
screen comes through the screenshot portal, a full-screen overlay covers each output and its panel, a drag on the
right output selects a paragraph shown there, Ctrl+S in the editor puts the text on the Wayland clipboard and
into the history under that output's name. Escape ends a second capture on either output. The input routes of the
API refuse, naming the session. sway offers no global shortcuts portal, so captures start with `quillora --capture`,
as the program tells its user to bind. The pointer is a virtual pointer (wayland_pointer.py), the keys come from
wtype's virtual keyboard."""
import json
import os
import subprocess
import sys
import tempfile
import time

from capture_support import HistoryFiles, character_error_rate, license_lines
from shell_support import App, Home, accepted_settings, api, free_port, run, wait_until

exe = sys.argv[1]
here = os.path.dirname(os.path.abspath(__file__))
WIDTH, HEIGHT = 1280, 720
PANEL = (255, 0, 255)  # the bar's colour (scripts/wayland-desktop.sh)


class WaylandHome(Home):
    def env(self):
        env = super().env()
        env["QT_QPA_PLATFORM"] = "wayland"
        return env


def tree_windows(name):
    """The windows called name in sway's tree, each with its output and whether it is full screen."""
    found = []

    def walk(node, output):
        if node.get("type") == "output":
            output = node["name"]
        if node.get("name") == name and node.get("type") in ("con", "floating_con"):
            found.append({"output": output, "fullscreen": node.get("fullscreen_mode") == 1,
                          "focused": node.get("focused")})
        for child in node.get("nodes", []) + node.get("floating_nodes", []):
            walk(child, output)

    walk(json.loads(run("swaymsg", "-t", "get_tree", "-r").stdout), None)
    return found


def pixel(path, x, y):
    text = run("convert", path, "-format", f"%[fx:int(255*p{{{x},{y}}}.r)],%[fx:int(255*p{{{x},{y}}}.g)],"
               f"%[fx:int(255*p{{{x},{y}}}.b)]", "info:").stdout
    return tuple(int(v) for v in text.split(","))


def bar_coloured(rgb):
    """The bar's colour, perhaps under the overlay's dimming."""
    return rgb[0] > 100 and rgb[2] > 100 and rgb[1] < 40 and abs(rgb[0] - rgb[2]) < 8


def mean(path, x, y, w, h):
    return float(run("convert", path, "-crop", f"{w}x{h}+{x}+{y}", "-format", "%[fx:mean]", "info:").stdout)


def screen_shot(folder):
    path = os.path.join(folder, "shot.png")
    run("grim", path)
    return path


class Pointer:
    def __init__(self):
        self.proc = subprocess.Popen(["python3", os.path.join(here, "wayland_pointer.py"), str(2 * WIDTH),
                                      str(HEIGHT)], stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)
        assert self.proc.stdout.readline().strip() == "ready", "the virtual pointer did not start"

    def send(self, command):
        self.proc.stdin.write(command + "\n")
        self.proc.stdin.flush()
        assert self.proc.stdout.readline().strip() == "ok", command

    def drag(self, x0, y0, x1, y1, steps=12, before_release=None):
        self.send(f"move {x0} {y0}")
        time.sleep(0.05)
        self.send("down")
        for step in range(1, steps + 1):
            self.send(f"move {x0 + (x1 - x0) * step // steps} {y0 + (y1 - y0) * step // steps}")
            time.sleep(0.02)
        if before_release:
            before_release()
        self.send("up")

    def close(self):
        self.proc.stdin.close()
        self.proc.wait(5)


home = WaylandHome()
shared = tempfile.mkdtemp(prefix="quillora-wl-")
os.chmod(shared, 0o755)  # the compositor's wallpaper program runs as another user under root
keyboard = pointer = app = None
try:
    port = free_port()
    home.preset({**accepted_settings(), "apiEnabled": True, "apiPort": port})

    # The paragraph is the right output's wallpaper, so its place on the screen is known to the pixel.
    paragraph = license_lines("BSD", 4, 10)
    wallpaper = os.path.join(shared, "page.png")
    run("convert", "-size", f"{WIDTH}x{HEIGHT}", "xc:white", "-font", "DejaVu-Sans", "-pointsize", "20",
        "-fill", "black", "-annotate", "+200+250", "\n".join(paragraph), wallpaper)
    os.chmod(wallpaper, 0o644)
    box = run("convert", wallpaper, "-trim", "-format", "%w %h %X %Y", "info:").stdout.split()
    w, h, x, y = (int(v.lstrip("+")) for v in box)
    run("swaymsg", "output", "HEADLESS-2", "bg", wallpaper, "fill")

    # A virtual keyboard held for the whole test, so that the seat has a keyboard before any window is mapped.
    keyboard = subprocess.Popen(["wtype", "-s", "600000"])
    pointer = Pointer()
    pointer.send(f"move {WIDTH // 2} {HEIGHT // 2}")
    wait_until(lambda: mean(screen_shot(shared), WIDTH + x, y, w, h) < 0.95, 10, "the wallpaper")
    before = screen_shot(shared)
    assert pixel(before, 600, 5) == PANEL and pixel(before, WIDTH + 600, 5) == PANEL, "the panels show"

    app = App(exe, home)
    app.wait_out("✅ Screen Recording: Permission granted", timeout=60)

    def start_capture():
        result = run(exe, "--capture", env=home.env())
        assert result.returncode == 0, result.stderr
        wait_until(lambda: len(tree_windows("Quillora Capture")) == 2, 20,
                   lambda: "an overlay on each output\n" + app.dump())
        overlays = tree_windows("Quillora Capture")
        assert sorted(o["output"] for o in overlays) == ["HEADLESS-1", "HEADLESS-2"], overlays
        assert all(o["fullscreen"] for o in overlays), overlays

    start_capture()
    # The overlays cover the panels: they show the frozen screen, bar included, so with the live bars gone the
    # bars' colour is still on the screen while the overlays are up.
    run("swaymsg", "bar", "bar-0", "mode", "invisible")
    try:
        wait_until(lambda: all(bar_coloured(pixel(screen_shot(shared), bx, 5)) for bx in (600, WIDTH + 600)), 10,
                   lambda: f"the overlays to cover the bars: {pixel(screen_shot(shared), 600, 5)}, "
                   f"{pixel(screen_shot(shared), WIDTH + 600, 5)}")
    finally:
        run("swaymsg", "bar", "bar-0", "mode", "dock")

    def bar_dimmed():
        # While a selection is drawn the overlay dims everything outside it: the bar too, so the overlay is above it.
        rgb = pixel(screen_shot(shared), WIDTH + 600, 5)
        assert bar_coloured(rgb) and rgb != PANEL, f"the right bar under the dimming: {rgb}"

    pointer.drag(WIDTH + x - 10, y - 10, WIDTH + x + w + 10, y + h + 10, before_release=bar_dimmed)
    wait_until(lambda: tree_windows("Captured Text"), 60, lambda: "the editor\n" + app.dump())
    wait_until(lambda: any(win["focused"] for win in tree_windows("Captured Text")), 10, "the editor's focus")
    run("wtype", "-M", "ctrl", "s", "-m", "ctrl")
    wait_until(lambda: not tree_windows("Captured Text"), 10, lambda: "saving to close the editor\n" + app.dump())
    history = HistoryFiles(home)
    entries = history.wait_entries(1)

    text = run("wl-paste", "--no-newline").stdout
    error_rate = character_error_rate("\n".join(paragraph), text)
    assert error_rate <= 0.02, f"character error rate {error_rate:.2%}; clipboard:\n{text}\n{app.dump()}"
    assert entries[0]["text"] == text and entries[0].get("displayName") == "HEADLESS-2", entries

    # Escape ends a capture wherever the pointer is, and leaves the history as it was.
    with open(history.file, "rb") as f:
        history_before = f.read()
    pointer.send(f"move {WIDTH // 2} {HEIGHT // 2}")
    start_capture()
    time.sleep(0.3)
    run("wtype", "-k", "Escape")
    wait_until(lambda: not tree_windows("Quillora Capture"), 10, lambda: "Escape to close both\n" + app.dump())
    with open(history.file, "rb") as f:
        assert f.read() == history_before

    # Wayland takes no synthetic input: the input routes refuse and say why; the window list still answers.
    status, refused = api(port, "POST", "/keyboard/type", {"text": "a"})
    assert status == 403 and "Wayland" in refused["message"], refused
    assert api(port, "GET", "/windows")[0] == 200

    assert app.stop() == 0, app.dump()
    # How long the portal took for each screenshot, as the program measured it.
    timings = [line.split(" in ")[-1] for line in app.err if "Screenshot portal:" in line]
    print(f"wayland capture: ok (character error rate {error_rate:.2%}; screenshot portal: {', '.join(timings)})")
finally:
    if app and app.running():
        app.stop()
    if pointer:
        pointer.close()
    if keyboard:
        keyboard.terminate()
        keyboard.wait(5)
    subprocess.run(["rm", "-rf", shared])
    home.remove()
