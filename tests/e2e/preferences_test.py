#!/usr/bin/env python3
"""The preferences window of the real program, opened from the tray menu and driven with the keyboard as a person
would: a recorded hotkey takes the real X grab from the old one, and a new port with Apply moves the server."""
import sys
import time

from shell_support import (Home, answers, escape_capture, free_port, run, start_with_api, tray_icons,
                           visible_windows, wait_for_tray_icons, wait_for_window, wait_until)

exe = sys.argv[1]


def keys(*names, pause=0):
    run("xdotool", "key", "--delay", "80", *names)
    time.sleep(pause)


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

# The General tab has the keyboard; Tab reaches the hotkey. Ctrl+Alt+K: the K key (40) with command and option
# (256 + 2048); Ctrl+Shift+7 no longer starts captures.
keys("Tab", "space", pause=0.3)
keys("ctrl+alt+k")
wait_until(lambda: (home.settings().get("hotkeyKeyCode"), home.settings().get("hotkeyModifiers")) == (40, 2304), 5,
           "Ctrl+Alt+K to be recorded")
keys("ctrl+alt+k")
escape_capture()
keys("ctrl+shift+7", pause=1.5)
assert not visible_windows("Quillora Capture"), f"Ctrl+Shift+7 started a capture\n{app.dump()}"

run("xdotool", "windowactivate", "--sync", window)
time.sleep(0.3)
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
