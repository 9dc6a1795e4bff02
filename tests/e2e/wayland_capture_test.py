#!/usr/bin/env python3
"""A whole capture in a Wayland session (headless sway with two outputs side by side, the screenshot portal): a
full-screen overlay on each output, above the panel, a drag on the right output, Ctrl+S in the editor, the text on the
Wayland clipboard and in the history. sway has no global shortcuts portal: captures start with `quillora --capture`.
The pointer is a virtual pointer, the keys come from wtype's virtual keyboard."""
import itertools
import json
import os
import socket
import struct
import subprocess
import sys

from shell_support import (ACCEPTED, App, Home, HistoryFiles, api, character_error_rate, drag, free_port, license_lines,
                           run, stop_at_exit, wait_until)

exe = sys.argv[1]
WIDTH, HEIGHT = 1280, 720
PANEL = (255, 0, 255)  # the bar's colour (scripts/wayland-desktop.sh)


class Pointer:
    """A virtual pointer (zwlr_virtual_pointer_manager_v1) spoken over the Wayland socket directly; each action returns
    once the compositor has handled it. Positions are in the layout."""

    def __init__(self):
        self.sock = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
        self.sock.connect(os.environ["WAYLAND_DISPLAY"])
        self.ids, self.buffer, self.time, self.globals = itertools.count(2), b"", 0, {}
        registry = next(self.ids)
        self.send(1, 1, struct.pack("<I", registry))  # wl_display.get_registry
        self.roundtrip(registry)
        interface = b"zwlr_virtual_pointer_manager_v1\0"
        assert interface[:-1].decode() in self.globals, "the compositor offers no virtual pointer"
        manager, self.pointer = next(self.ids), next(self.ids)
        self.send(registry, 0, struct.pack("<II", self.globals[interface[:-1].decode()], len(interface)) + interface +
                  b"\0" * (-len(interface) % 4) + struct.pack("<II", 1, manager))  # wl_registry.bind
        self.send(manager, 0, struct.pack("<II", 0, self.pointer))  # create_virtual_pointer(the default seat)
        self.roundtrip()

    def send(self, obj, opcode, payload=b""):
        self.sock.sendall(struct.pack("<II", obj, ((8 + len(payload)) << 16) | opcode) + payload)

    def roundtrip(self, registry=None):
        callback = next(self.ids)
        self.send(1, 0, struct.pack("<I", callback))  # wl_display.sync
        while True:
            while len(self.buffer) < 8 or len(self.buffer) < struct.unpack_from("<II", self.buffer)[1] >> 16:
                chunk = self.sock.recv(65536)
                assert chunk, "the compositor closed the connection"
                self.buffer += chunk
            obj, word = struct.unpack_from("<II", self.buffer)
            payload, self.buffer, opcode = self.buffer[8:word >> 16], self.buffer[word >> 16:], word & 0xFFFF
            if obj == callback:
                return
            assert (obj, opcode) != (1, 0), f"protocol error: {payload[12:]}"  # wl_display.error
            if obj == registry and opcode == 0:  # wl_registry.global
                length = struct.unpack_from("<I", payload, 4)[0]
                self.globals[payload[8:7 + length].decode()] = struct.unpack_from("<I", payload)[0]

    def act(self, opcode, *words):
        self.time += 10
        self.send(self.pointer, opcode, struct.pack(f"<{len(words) + 1}I", self.time, *words))
        self.send(self.pointer, 4)  # frame
        self.roundtrip()

    def move(self, x, y):
        self.act(1, x, y, 2 * WIDTH, HEIGHT)  # motion_absolute

    def press(self, down):
        self.act(2, 0x110, int(down))  # the left button


def bar_coloured(rgb):
    """The bar's colour, perhaps under the overlay's dimming."""
    return rgb[0] > 100 and rgb[2] > 100 and rgb[1] < 40 and abs(rgb[0] - rgb[2]) < 8


def tree_windows(name):
    """The windows called name in sway's tree, each with its output and whether it is full screen."""
    found = []

    def walk(node, output):
        output = node["name"] if node.get("type") == "output" else output
        if node.get("name") == name and node.get("type") in ("con", "floating_con"):
            found.append({"output": output, "fullscreen": node.get("fullscreen_mode") == 1,
                          "focused": node.get("focused")})
        for child in node.get("nodes", []) + node.get("floating_nodes", []):
            walk(child, output)

    walk(json.loads(run("swaymsg", "-t", "get_tree", "-r").stdout), None)
    return found


def screen(fx, x, y, w=1, h=1):
    """An ImageMagick fx expression over a rectangle of the screen as it is now."""
    run("grim", shot)
    return run("convert", shot, "-crop", f"{w}x{h}+{x}+{y}", "+repage", "-format", fx, "info:").stdout


def screen_pixel(x, y):
    return tuple(int(v) for v in screen(",".join(f"%[fx:int(255*p{{0,0}}.{c})]" for c in "rgb"), x, y).split(","))


home = Home(platform="wayland")
os.chmod(home.root, 0o755)  # the compositor's wallpaper program runs as another user under root
shot = os.path.join(home.root, "shot.png")
port = free_port()
home.preset({**ACCEPTED, "apiEnabled": True, "apiPort": port})

# The paragraph is the right output's wallpaper, so its place on the screen is known to the pixel.
paragraph = license_lines("BSD", 4, 10)
wallpaper = os.path.join(home.root, "page.png")
run("convert", "-size", f"{WIDTH}x{HEIGHT}", "xc:white", "-font", "DejaVu-Sans", "-pointsize", "20", "-fill", "black",
    "-annotate", "+200+250", "\n".join(paragraph), wallpaper)
os.chmod(wallpaper, 0o644)
box = run("convert", wallpaper, "-trim", "-format", "%w %h %X %Y", "info:").stdout.split()
w, h, x, y = (int(v.lstrip("+")) for v in box)
run("swaymsg", "output", "HEADLESS-2", "bg", wallpaper, "fill")

# A virtual keyboard held for the whole test, so that the seat has a keyboard before any window is mapped.
stop_at_exit(subprocess.Popen(["wtype", "-s", "600000"]))
pointer = Pointer()
pointer.move(WIDTH // 2, HEIGHT // 2)
wait_until(lambda: float(screen("%[fx:mean]", WIDTH + x, y, w, h)) < 0.95, 10, "the wallpaper")

app = App(exe, home)
app.wait_out("✅ Screen Recording: Permission granted", timeout=60)
assert run(exe, "--capture", env=home.env).returncode == 0
wait_until(lambda: len(tree_windows("Quillora Capture")) == 2, 20, lambda: f"two overlays\n{app.dump()}")
overlays = tree_windows("Quillora Capture")
assert sorted(o["output"] for o in overlays) == ["HEADLESS-1", "HEADLESS-2"], overlays
assert all(o["fullscreen"] for o in overlays), overlays
# The overlays cover the bars: they show the frozen screen, bar included, so with the live bars gone the bars'
# colour is still on the screen while the overlays are up.
run("swaymsg", "bar", "bar-0", "mode", "invisible")
try:
    wait_until(lambda: all(bar_coloured(screen_pixel(bx, 5)) for bx in (600, WIDTH + 600)), 10,
               lambda: f"the overlays to cover the bars: {screen_pixel(600, 5)}, {screen_pixel(WIDTH + 600, 5)}")
finally:
    run("swaymsg", "bar", "bar-0", "mode", "dock")


def bar_dimmed():
    # While a selection is drawn the overlay dims everything outside it: the bar too, so the overlay is above it.
    rgb = screen_pixel(WIDTH + 600, 5)
    assert bar_coloured(rgb) and rgb != PANEL, f"the right bar under the dimming: {rgb}"


drag(WIDTH + x - 10, y - 10, WIDTH + x + w + 10, y + h + 10, pointer.move, pointer.press, before_release=bar_dimmed)
wait_until(lambda: tree_windows("Captured Text"), 60, lambda: "the editor\n" + app.dump())
wait_until(lambda: any(win["focused"] for win in tree_windows("Captured Text")), 10, "the editor's focus")
run("wtype", "-M", "ctrl", "s", "-m", "ctrl")
wait_until(lambda: not tree_windows("Captured Text"), 10, lambda: "saving to close the editor\n" + app.dump())
entries = HistoryFiles(home).wait_entries(1)
text = run("wl-paste", "--no-newline").stdout
error_rate = character_error_rate("\n".join(paragraph), text)
assert error_rate <= 0.02, f"character error rate {error_rate:.2%}; clipboard:\n{text}\n{app.dump()}"
assert entries[0]["text"] == text and entries[0].get("displayName") == "HEADLESS-2", entries

# Wayland takes no synthetic input: the input routes refuse and say why.
status, refused = api(port, "POST", "/keyboard/type", {"text": "a"})
assert status == 403 and "Wayland" in refused["message"], refused
assert app.stop() == 0, app.dump()
timings = [line.split(" in ")[-1] for line in app.err if "Screenshot portal:" in line]
print(f"wayland capture: ok (character error rate {error_rate:.2%}; screenshot portal: {', '.join(timings)})")
