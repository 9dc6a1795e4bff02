#!/usr/bin/env python3
"""usage: hold_key_grab.py KEYSYM MASK (X keysym name, X modifier bits). Holds a passive key grab on the root
window, as another program would, until standard input closes; prints "held" or "refused <X error code>"."""
import ctypes
import sys


class XErrorEvent(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("display", ctypes.c_void_p), ("resourceid", ctypes.c_ulong),
                ("serial", ctypes.c_ulong), ("error_code", ctypes.c_ubyte)]


keysym_name, mask = sys.argv[1], int(sys.argv[2])
xlib = ctypes.cdll.LoadLibrary("libX11.so.6")
# Pointers and X ids are 64 bits wide; ctypes would cut them to an int.
xlib.XOpenDisplay.restype = ctypes.c_void_p
xlib.XDefaultRootWindow.restype = xlib.XStringToKeysym.restype = ctypes.c_ulong
xlib.XKeysymToKeycode.restype = ctypes.c_ubyte
errors = []
handler = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.POINTER(XErrorEvent))(
    lambda display, event: errors.append(event.contents.error_code) or 0)
xlib.XSetErrorHandler(handler)
display = ctypes.c_void_p(xlib.XOpenDisplay(None))
keycode = xlib.XKeysymToKeycode(display, ctypes.c_ulong(xlib.XStringToKeysym(keysym_name.encode())))
xlib.XGrabKey(display, keycode, mask, ctypes.c_ulong(xlib.XDefaultRootWindow(display)), 1, 1, 1)
xlib.XSync(display, 0)
print("refused %d" % errors[0] if errors else "held", flush=True)
sys.stdin.read()  # the grab ends with the connection, when the process exits
