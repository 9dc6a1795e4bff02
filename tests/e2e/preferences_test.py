#!/usr/bin/env python3
"""The preferences window of the real program, driven with the keyboard and the mouse as a person would: opened from
the tray menu; recording the current hotkey records it instead of starting a capture; a recorded Ctrl+Alt+K starts
captures and Ctrl+Shift+7 no longer does; a combination another X client holds is recorded all the same and the
window says it is used by another program (read off the screen); a new port with Apply moves the server. (That each
switch writes its setting: tests/widgets/preferences.)"""
import os
import subprocess
import sys
import time

from shell_support import (Home, answers, free_port, run, start_with_api, stop_at_exit, tray_icons, visible_windows,
                           wait_for_tray_icons, wait_for_window, wait_until)

exe = sys.argv[1]
grabber_script = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "platform", "linux", "hold_key_grab.py")


def keys(*names, pause=0):
    run("xdotool", "key", "--delay", "80", *names)
    time.sleep(pause)


def screen_text(window):
    """What the window shows, read by Quillora's own recogniser from a screenshot."""
    path = os.path.join(home.root, "window.png")
    run("import", "-window", window, path)
    result = run(exe, "--recognize", path, env=home.env, timeout=60)
    assert result.returncode == 0, result
    return " ".join(result.stdout.split())


def no_capture_for(seconds):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        assert not visible_windows("Quillora Capture"), f"a capture started\n{app.dump()}"
        time.sleep(0.1)


def recorded(key_code, modifiers, what):
    wait_until(lambda: (home.settings().get("hotkeyKeyCode"), home.settings().get("hotkeyModifiers")) ==
               (key_code, modifiers), 5, f"{what} to be recorded")


# Control (4) + Alt (Mod1, 8) on T, as another program would hold it.
grabber = stop_at_exit(subprocess.Popen([sys.executable, grabber_script, "t", "12"], stdin=subprocess.PIPE,
                                        stdout=subprocess.PIPE, text=True))
assert grabber.stdout.readline().strip() == "held", "the other client holds Ctrl+Alt+T"
home = Home()
app, port = start_with_api(exe, home)
wait_for_tray_icons(1)

# The tray menu: Capture Text, History, Preferences.
run("xdotool", "mousemove", "--window", tray_icons()[0], "10", "10", "click", "1")
time.sleep(0.5)
keys("Down", "Down", "Down", "Return")
window = wait_for_window("Preferences")
run("xdotool", "windowactivate", "--sync", window)
time.sleep(0.3)

# The General tab has the keyboard; Tab reaches the hotkey. The current hotkey, pressed while recording, is recorded
# rather than starting a capture.
assert "hotkeyKeyCode" not in home.settings()
keys("Tab", "space", pause=0.3)
keys("ctrl+shift+7")
recorded(26, 768, "Ctrl+Shift+7")
no_capture_for(1)

# Ctrl+Alt+K: the K key (40) with command and option (256 + 2048).
keys("space", pause=0.3)
keys("ctrl+alt+k")
recorded(40, 2304, "Ctrl+Alt+K")
keys("ctrl+alt+k")
wait_until(lambda: visible_windows("Quillora Capture"), 10, lambda: f"Ctrl+Alt+K to start a capture\n{app.dump()}")
time.sleep(0.3)
keys("Escape")
wait_until(lambda: not visible_windows("Quillora Capture"), 10, "Escape to end the capture")
keys("ctrl+shift+7")
no_capture_for(1.5)

# Ctrl+Alt+T, which the other client holds: recorded all the same, refused, and the window says why.
run("xdotool", "windowactivate", "--sync", window)
time.sleep(0.3)
keys("space", pause=0.3)
keys("ctrl+alt+t")
recorded(17, 2304, "Ctrl+Alt+T")
app.wait_out("Failed to register hotkey: 10")
time.sleep(0.5)
text = screen_text(window)
assert "Ctrl+Alt+T is used by another program" in text, text
keys("ctrl+alt+t")
no_capture_for(1)

# To the API tab: back to the tab list, then down three tabs; past the enable switch to the port, a new port there,
# taken when the field is left for Apply. The running server keeps its port until Apply is pressed.
new_port = free_port()
keys("shift+Tab", "Down", "Down", "Down", pause=0.3)
keys("Tab", "Tab", "ctrl+a")
run("xdotool", "type", str(new_port))
keys("Tab")
wait_until(lambda: home.settings().get("apiPort") == new_port, 5, "the new port to be stored")
assert answers(port) == 200 and answers(new_port) is None, "the server moved before Apply"
keys("space")
wait_until(lambda: answers(new_port) == 200, 10, lambda: f"the server on port {new_port}\n{app.dump()}")
assert answers(port) is None, "the old port refuses"
assert app.stop() == 0, app.dump()
print("preferences e2e: ok")
