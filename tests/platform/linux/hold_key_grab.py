#!/usr/bin/env python3
"""usage: hold_key_grab.py KEYSYM MASK (X keysym name, X modifier bits). Holds a passive key grab on the root
window, as another program would, until standard input closes; prints "held" or "refused <X error code>"."""
import ctypes
import sys


class XErrorEvent(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("display", ctypes.c_void_p), ("resourceid", ctypes.c_ulong),
                ("serial", ctypes.c_ulong), ("error_code", ctypes.c_ubyte), ("request_code", ctypes.c_ubyte),
                ("minor_code", ctypes.c_ubyte)]


def main():
    keysym_name, mask = sys.argv[1], int(sys.argv[2])
    xlib = ctypes.cdll.LoadLibrary("libX11.so.6")
    xlib.XOpenDisplay.restype = ctypes.c_void_p
    xlib.XOpenDisplay.argtypes = [ctypes.c_char_p]
    xlib.XDefaultRootWindow.restype = ctypes.c_ulong
    xlib.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
    xlib.XStringToKeysym.restype = ctypes.c_ulong
    xlib.XStringToKeysym.argtypes = [ctypes.c_char_p]
    xlib.XKeysymToKeycode.restype = ctypes.c_ubyte
    xlib.XKeysymToKeycode.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
    xlib.XGrabKey.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_uint, ctypes.c_ulong, ctypes.c_int,
                              ctypes.c_int, ctypes.c_int]
    xlib.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
    xlib.XCloseDisplay.argtypes = [ctypes.c_void_p]

    errors = []
    handler_type = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.POINTER(XErrorEvent))
    handler = handler_type(lambda display, event: errors.append(event.contents.error_code) or 0)
    xlib.XSetErrorHandler(handler)

    display = xlib.XOpenDisplay(None)
    if not display:
        print("refused no-display", flush=True)
        return 1
    keycode = xlib.XKeysymToKeycode(display, xlib.XStringToKeysym(keysym_name.encode()))
    xlib.XGrabKey(display, keycode, mask, xlib.XDefaultRootWindow(display), 1, 1, 1)
    xlib.XSync(display, 0)
    print("refused %d" % errors[0] if errors else "held", flush=True)
    sys.stdin.read()
    xlib.XCloseDisplay(display)
    return 0


if __name__ == "__main__":
    sys.exit(main())
