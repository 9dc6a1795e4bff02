#!/usr/bin/env python3
"""quillora --recognize on image files, as a script runs it: without a display, with a private home.

    recognize_cli_test.py QUILLORA
"""
import os
import subprocess
import sys
import tempfile


def render(path, text):
    subprocess.run(["convert", "-size", "420x60", "xc:white", "-font", "DejaVu-Sans", "-pointsize", "20",
                    "-fill", "black", "-annotate", "+12+38", text, path], check=True)


quillora = sys.argv[1]
with tempfile.TemporaryDirectory() as home:
    env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM")}
    env.update(HOME=home, XDG_CONFIG_HOME=os.path.join(home, "config"), XDG_DATA_HOME=os.path.join(home, "data"),
               XDG_STATE_HOME=os.path.join(home, "state"), LANG="C.UTF-8")
    first, second, missing = (os.path.join(home, name) for name in ("first.png", "second.png", "missing.png"))
    render(first, "Hello from the screen")
    render(second, "Grüße aus Köln")

    def recognize(*files, stdin=None):
        return subprocess.run([quillora, "--recognize", *files], env=env, capture_output=True, text=True, timeout=120,
                              stdin=stdin)

    several = recognize(first, missing, second)
    assert several.returncode == 1, f"with a missing file: exit {several.returncode}"
    expected = f"==> {first} <==\nHello from the screen\n\n==> {second} <==\nGrüße aus Köln\n"
    assert several.stdout == expected, f"several files: printed {several.stdout!r}"
    assert f"cannot read {missing}" in several.stderr, f"missing file not reported: {several.stderr!r}"

    with open(second, "rb") as image:
        piped = recognize("-", stdin=image)
    assert piped.returncode == 0 and piped.stdout == "Grüße aus Köln\n", f"from standard input: {piped!r}"

    usage = recognize()
    assert usage.returncode == 2 and "usage" in usage.stderr, f"no files: exit {usage.returncode}"
    assert not os.path.exists(os.path.join(home, "config", "Quillora", "settings.json")), "reading wrote the settings"
print("recognize cli: ok")
