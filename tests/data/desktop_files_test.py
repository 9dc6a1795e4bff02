#!/usr/bin/env python3
"""The desktop entry, the AppStream description and the manual page pass their validators without a complaint, and
the manual page documents exactly the switches `quillora --help` lists, for the version `--version` prints.

    desktop_files_test.py QUILLORA DESKTOP_ENTRY METAINFO MANUAL_PAGE
"""
import os
import re
import subprocess
import sys

quillora, desktop_entry, metainfo, manual_page = sys.argv[1:5]
failures = []


def run(*cmd, env=None):
    return subprocess.run(cmd, capture_output=True, text=True, timeout=60, env=env)


validated = run("desktop-file-validate", desktop_entry)
if validated.returncode != 0 or validated.stdout or validated.stderr:
    failures.append(f"desktop-file-validate:\n{validated.stdout}{validated.stderr}")
validated = run("appstreamcli", "validate", "--no-net", "--no-color", metainfo)
if validated.returncode != 0 or re.search(r"^[EW]: ", validated.stdout, re.M):
    failures.append(f"appstreamcli validate:\n{validated.stdout}{validated.stderr}")
# man-db's sandbox needs system calls that containers may refuse; the page is ours and trusted.
rendered = run("man", "--warnings", "-l", manual_page,
               env=dict(os.environ, MANWIDTH="80", MAN_DISABLE_SECCOMP="1", LC_ALL="C.UTF-8"))
if rendered.returncode != 0 or rendered.stderr or "--recognize" not in rendered.stdout:
    failures.append(f"man --warnings:\n{rendered.stderr}")

with open(manual_page, encoding="utf-8") as f:
    page = f.read()
options = page.split("\n.SH OPTIONS\n", 1)[1].split("\n.SH ", 1)[0]
documented = {switch.replace("\\-", "-") for heading in re.findall(r"^\.TP\n(.*)$", options, re.M)
              for switch in re.findall(r"\\-(?:\\-)?[a-z]+", heading)}
help_text = run(quillora, "--help")
listed = {switch for line in help_text.stdout.split("\nOptions:\n", 1)[-1].split("\n\n", 1)[0].splitlines()
          if line.startswith("  -") for switch in re.findall(r"(?<![\w-])--?[a-z]+", line.split("  ")[1])}
if help_text.returncode != 0 or not listed or listed != documented:
    failures.append(f"--help lists {sorted(listed)}, the manual page documents {sorted(documented)}")

version = run(quillora, "--version").stdout.splitlines()[0]
title = re.search(r'^\.TH QUILLORA 1 "[^"]*" "Quillora ([^"]+)"', page, re.M)
if not title or version != f"Quillora {title.group(1)}":
    failures.append(f"--version prints {version!r}, the manual page is for {title and title.group(1)!r}")
if failures:
    sys.exit("\n".join(failures))
print("desktop files: ok")
