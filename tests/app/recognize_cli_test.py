#!/usr/bin/env python3
"""quillora --recognize on image files, as a script runs it: without a display, with a private home.

    recognize_cli_test.py QUILLORA
"""
import os
import subprocess
import sys
import tempfile

quillora = sys.argv[1]
with tempfile.TemporaryDirectory() as home:
    env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM")}
    env.update(HOME=home, XDG_CONFIG_HOME=f"{home}/config", XDG_DATA_HOME=f"{home}/data",
               XDG_STATE_HOME=f"{home}/state", LANG="C.UTF-8")
    first, second, missing, svg, fifo, folder, zero_link = (os.path.join(home, name) for name in (
        "first.png", "second.png", "missing.png", "label.svg", "fifo.png", "folder.png", "zero.png"))
    for path, text in ((first, "Hello from the screen"), (second, "Grüße aus Köln")):
        subprocess.run(["convert", "-size", "420x60", "xc:white", "-font", "DejaVu-Sans", "-pointsize", "20", "-fill",
                        "black", "-annotate", "+12+38", text, path], check=True)

    def recognize(*files, stdin=None):
        return subprocess.run([quillora, "--recognize", *files], env=env, capture_output=True, text=True, timeout=120,
                              stdin=stdin)

    several = recognize(first, missing, second)
    expected = f"==> {first} <==\nHello from the screen\n\n==> {second} <==\nGrüße aus Köln\n"
    assert several.returncode == 1 and several.stdout == expected, f"with a missing file: {several!r}"
    assert f"cannot read {missing}" in several.stderr, f"missing file not reported: {several.stderr!r}"
    with open(second, "rb") as image:
        piped = recognize("-", stdin=image)
    assert piped.returncode == 0 and piped.stdout == "Grüße aus Köln\n", f"from standard input: {piped!r}"

    # Hostile inputs: each fails on its own, with a clear message, within the time-out; the batch goes on to the
    # good file at its end. An SVG with text needs the GUI application's fonts, which the command provides.
    with open(svg, "w") as f:
        f.write('<svg xmlns="http://www.w3.org/2000/svg" width="600" height="80"><rect width="600" height="80" '
                'fill="white"/><text x="10" y="50" font-family="DejaVu Sans" font-size="32">Vector text</text></svg>')
    os.mkfifo(fifo)
    os.mkdir(folder)
    os.symlink("/dev/zero", zero_link)
    rows = [  # (name, file, expected message on standard error, or None when it reads)
        ("SVG with text", svg, None),
        ("FIFO without writer", fifo, "not a regular file"),
        ("folder", folder, "is a directory"),
        ("link to /dev/zero", zero_link, "not a regular file"),
    ]
    hostile = recognize(*[row[1] for row in rows], second)
    assert hostile.returncode == 1, f"hostile batch: exit {hostile.returncode}: {hostile.stderr!r}"
    assert hostile.stdout.endswith(f"==> {second} <==\nGrüße aus Köln\n"), f"batch cut short: {hostile.stdout!r}"
    for name, path, message in rows:
        if message is None:
            assert f"==> {path} <==\nVector text\n" in hostile.stdout, f"{name}: {hostile.stdout!r} {hostile.stderr!r}"
        else:
            assert f"cannot read {path}: {message}" in hostile.stderr, f"{name}: {hostile.stderr!r}"

    # Standard input is bounded like a file: an endless stream of zeros is refused, not collected.
    with open("/dev/zero", "rb") as zeros:
        endless = recognize("-", stdin=zeros)
    assert endless.returncode == 1 and "cannot read -: larger than the limit of 256 MiB" in endless.stderr, endless
    assert not os.path.exists(os.path.join(home, "config", "Quillora", "settings.json")), "reading wrote the settings"
print("recognize cli: ok")
