"""Copies standard input to standard output, each line prefixed with the monotonic clock in seconds at its arrival."""
import sys
import time

for line in iter(sys.stdin.buffer.readline, b""):
    sys.stdout.buffer.write(b"%.4f " % time.monotonic() + line)
    sys.stdout.buffer.flush()
