#!/usr/bin/env python3
"""A virtual pointer for a wlroots compositor (zwlr_virtual_pointer_manager_v1), spoken over the Wayland socket
directly so that the tests need no extra package. Reads commands from standard input, one a line, and answers "ok"
once the compositor has handled each:  move X Y  (layout coordinates),  down,  up.  It exits at the end of input.
The layout's size is given on the command line: wayland_pointer.py WIDTH HEIGHT."""
import os
import socket
import struct
import sys

BTN_LEFT = 0x110


class Connection:
    def __init__(self):
        path = os.environ["WAYLAND_DISPLAY"]
        if not path.startswith("/"):
            path = os.path.join(os.environ["XDG_RUNTIME_DIR"], path)
        self.sock = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
        self.sock.connect(path)
        self.next_id = 2
        self.buffer = b""
        self.globals = {}

    def new_id(self):
        self.next_id += 1
        return self.next_id - 1

    def send(self, obj, opcode, payload=b""):
        self.sock.sendall(struct.pack("<II", obj, ((8 + len(payload)) << 16) | opcode) + payload)

    @staticmethod
    def string(text):
        data = text.encode() + b"\0"
        return struct.pack("<I", len(data)) + data + b"\0" * (-len(data) % 4)

    def read_event(self):
        while True:
            if len(self.buffer) >= 8:
                obj, word = struct.unpack_from("<II", self.buffer)
                size = word >> 16
                if len(self.buffer) >= size:
                    payload, self.buffer = self.buffer[8:size], self.buffer[size:]
                    return obj, word & 0xFFFF, payload
            chunk = self.sock.recv(65536)
            if not chunk:
                raise SystemExit("the compositor closed the connection")
            self.buffer += chunk

    def roundtrip(self, registry=None):
        callback = self.new_id()
        self.send(1, 0, struct.pack("<I", callback))  # wl_display.sync
        while True:
            obj, opcode, payload = self.read_event()
            if obj == callback and opcode == 0:
                return
            if obj == 1 and opcode == 0:  # wl_display.error
                _, code, length = struct.unpack_from("<III", payload)
                raise SystemExit(f"protocol error {code}: {payload[12:12 + length - 1].decode()}")
            if obj == registry and opcode == 0:  # wl_registry.global
                name, length = struct.unpack_from("<II", payload)
                interface = payload[8:8 + length - 1].decode()
                version = struct.unpack_from("<I", payload, 8 + length + (-length % 4))[0]
                self.globals[interface] = (name, version)


def main():
    width, height = int(sys.argv[1]), int(sys.argv[2])
    wl = Connection()
    registry = wl.new_id()
    wl.send(1, 1, struct.pack("<I", registry))  # wl_display.get_registry
    wl.roundtrip(registry)
    if "zwlr_virtual_pointer_manager_v1" not in wl.globals:
        raise SystemExit("the compositor offers no virtual pointer")
    name, _ = wl.globals["zwlr_virtual_pointer_manager_v1"]
    manager = wl.new_id()
    wl.send(registry, 0, struct.pack("<I", name) + wl.string("zwlr_virtual_pointer_manager_v1") +
            struct.pack("<II", 1, manager))
    pointer = wl.new_id()
    wl.send(manager, 0, struct.pack("<II", 0, pointer))  # create_virtual_pointer(seat: the default one)
    wl.roundtrip()
    print("ready", flush=True)
    time = 0
    for line in sys.stdin:
        words = line.split()
        if not words:
            continue
        time += 10
        if words[0] == "move":
            x, y = int(float(words[1])), int(float(words[2]))
            wl.send(pointer, 1, struct.pack("<IIIII", time, x, y, width, height))  # motion_absolute
        elif words[0] in ("down", "up"):
            wl.send(pointer, 2, struct.pack("<III", time, BTN_LEFT, 1 if words[0] == "down" else 0))  # button
        else:
            raise SystemExit(f"unknown command {line!r}")
        wl.send(pointer, 4)  # frame
        wl.roundtrip()
        print("ok", flush=True)


if __name__ == "__main__":
    main()
