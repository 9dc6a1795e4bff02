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


def main():
    quillora = sys.argv[1]
    failures = []

    def check(condition, message):
        if not condition:
            failures.append(message)

    with tempfile.TemporaryDirectory() as home:
        env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM")}
        env.update(HOME=home, XDG_CONFIG_HOME=os.path.join(home, "config"), XDG_DATA_HOME=os.path.join(home, "data"),
                   XDG_STATE_HOME=os.path.join(home, "state"), LANG="C.UTF-8")
        first = os.path.join(home, "first.png")
        second = os.path.join(home, "second.png")
        missing = os.path.join(home, "missing.png")
        render(first, "Hello from the screen")
        render(second, "Grüße aus Köln")

        one = subprocess.run([quillora, "--recognize", first], env=env, capture_output=True, text=True, timeout=120)
        check(one.returncode == 0, f"one file: exit {one.returncode}, stderr {one.stderr!r}")
        check(one.stdout == "Hello from the screen\n", f"one file: printed {one.stdout!r}")

        several = subprocess.run([quillora, "--recognize", first, missing, second], env=env, capture_output=True,
                                 text=True, timeout=120)
        check(several.returncode == 1, f"with a missing file: exit {several.returncode}")
        expected = f"==> {first} <==\nHello from the screen\n\n==> {second} <==\nGrüße aus Köln\n"
        check(several.stdout == expected, f"several files: printed {several.stdout!r}")
        check(f"cannot read {missing}" in several.stderr, f"missing file not reported: {several.stderr!r}")

        usage = subprocess.run([quillora, "--recognize"], env=env, capture_output=True, text=True, timeout=120)
        check(usage.returncode == 2 and "usage" in usage.stderr, f"no files: exit {usage.returncode}")

        check(not os.path.exists(os.path.join(home, "config", "Quillora", "settings.json")),
              "reading files wrote the settings")

    for failure in failures:
        print("FAIL:", failure)
    print("all checks passed" if not failures else f"{len(failures)} checks failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
