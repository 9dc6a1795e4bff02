#!/usr/bin/env python3
"""Recognition quality and time of `quillora --recognize` against the `tesseract` command, side by side, on the
screen-text set in ../shared/ocr-bench (34 images with their exact text and a scorer).

    bench/ocr_bench.py [--build DIR] [--out DIR] [--steps]

For every image both programs run once, as a script would run them: one process per image, timed from start
to exit (so both include loading their models). `tesseract` runs as `tesseract IMG stdout -l deu+eng` with
OMP_THREAD_LIMIT=1 (with all cores its OpenMP threads make it slower on small machines). Quillora runs with its
text clean-up switched off, so that both are compared on recognition alone, and with the same languages.
A third run times one Quillora process reading all images (warm engine), the way captures run.

Predictions, timing.tsv and the scorer's reports go to --out (default build/ocr-bench). With --steps the
preparation steps are also measured one by one (bench target ocr_prepare_steps), on the set and on a copy whose
images have a window border caught at their edges. Skips with a message when the set is absent.
"""
import argparse
import json
import os
import shutil
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
CORPUS = os.path.normpath(os.path.join(ROOT, "..", "shared", "ocr-bench"))
IMAGES = os.path.join(CORPUS, "images")
SCORER = os.path.join(CORPUS, "score.py")
DIMENSIONS = ["theme", "size", "render", "lang", "layout"]

# Preparation steps measured one by one: (name, ocr_prepare_steps options). The first is what Quillora does.
STEPS = [
    ("all steps (Quillora)", []),
    ("no inversion of dark crops", ["--no-invert"]),
    ("no recolouring of dark panels", ["--no-panels"]),
    ("no border trim", ["--no-trim"]),
    ("no margin", ["--margin", "0"]),
    ("no 2x enlargement", ["--upscale", "1"]),
    ("2x enlargement of large text too", ["--upscale-below", "0"]),
    ("2x Lanczos-3 instead of bilinear", ["--filter", "lanczos"]),
    ("2x nearest neighbour instead of bilinear", ["--filter", "nearest"]),
    ("lines retried inverted (Tesseract's default)", ["--line-retry"]),
    ("no preparation at all", ["--no-invert", "--no-panels", "--no-trim", "--margin", "0", "--upscale", "1"]),
    ("full layout analysis always (psm 3)", ["--psm", "3"]),
    ("one block always (psm 6)", ["--psm", "6"]),
]


def ids():
    with open(os.path.join(IMAGES, "manifest.tsv"), encoding="utf-8") as f:
        return [line.split("\t")[0] for line in f.read().splitlines()[1:] if line.strip()]


def private_environment(home):
    """A user with default settings, except the text clean-up, in a throw-away home."""
    env = dict(os.environ)
    for name, sub in [("HOME", ""), ("XDG_CONFIG_HOME", ".config"), ("XDG_DATA_HOME", ".local/share"),
                      ("XDG_STATE_HOME", ".local/state"), ("XDG_CACHE_HOME", ".cache")]:
        env[name] = os.path.join(home, sub)
        os.makedirs(env[name], exist_ok=True)
    os.makedirs(os.path.join(env["XDG_CONFIG_HOME"], "Quillora"), exist_ok=True)
    with open(os.path.join(env["XDG_CONFIG_HOME"], "Quillora", "settings.json"), "w") as f:
        json.dump({"fixHyphenation": False, "removeLineBreaks": False, "cleanupWhitespace": False}, f)
    env.pop("DISPLAY", None)  # --recognize must not need one
    env["LANG"] = env["LC_ALL"] = "C.UTF-8"  # German and English only, as for the tesseract command
    env.pop("LANGUAGE", None)
    return env


def run_each(name, command, env, out):
    folder = os.path.join(out, name)
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    with open(os.path.join(folder, "timing.tsv"), "w") as timing:
        for case in ids():
            image = os.path.join(IMAGES, case + ".png")
            started = time.monotonic()
            result = subprocess.run(command(image), env=env, capture_output=True)
            ms = (time.monotonic() - started) * 1000
            if result.returncode != 0:
                sys.exit(f"{name} failed on {case}: {result.stderr.decode(errors='replace')}")
            with open(os.path.join(folder, case + ".txt"), "wb") as f:
                f.write(result.stdout)
            timing.write(f"{case}\t{ms:.1f}\n")
    return folder


def score(folder, name):
    report = os.path.join(folder, "score.json")
    text = subprocess.run([sys.executable, SCORER, folder, "--by", ",".join(DIMENSIONS), "--name", name,
                           "--json", report], capture_output=True, text=True, check=True).stdout
    with open(os.path.join(folder, "score.txt"), "w") as f:
        f.write(text)
    with open(report) as f:
        return json.load(f)


def side_by_side(ours, theirs):
    def row(label, a, b):
        worse = " <- worse" if a["cer"] > b["cer"] else ""
        ms_a = f"{a['median_ms']:7.0f}" if a.get("median_ms") is not None else "      -"
        ms_b = f"{b['median_ms']:7.0f}" if b.get("median_ms") is not None else "      -"
        print(f"  {label:<20} {a['n']:>3}  {100 * a['cer']:6.2f} {100 * a['wer']:6.2f} {ms_a}"
              f"   {100 * b['cer']:6.2f} {100 * b['wer']:6.2f} {ms_b}{worse}")

    print(f"  {'':<20} {'n':>3}  {'quillora --recognize':^22}   {'tesseract -l deu+eng':^22}")
    print(f"  {'':<20} {'':>3}  {'CER%':>6} {'WER%':>6} {'med ms':>7}   {'CER%':>6} {'WER%':>6} {'med ms':>7}")
    row("overall", ours["overall"], theirs["overall"])
    for dim in DIMENSIONS:
        print(f"  {dim}")
        for value in ours["by"][dim]:
            row("  " + value, ours["by"][dim][value], theirs["by"][dim][value])


def measure_steps(build, out):
    tool = os.path.join(build, "bench", "ocr_prepare_steps")
    bordered = tempfile.mkdtemp(prefix="ocr-bench-bordered-")
    try:
        # A window border caught in the selection: one grey pixel line on the left, top and right edges.
        for case in ids():
            subprocess.run(["convert", os.path.join(IMAGES, case + ".png"), "-background", "#7f7f7f",
                            "-gravity", "northwest", "-splice", "1x1", "-gravity", "southeast", "-splice", "1x0",
                            os.path.join(bordered, case + ".png")], check=True)
            shutil.copy(os.path.join(IMAGES, case + ".txt"), bordered)
        shutil.copy(os.path.join(IMAGES, "manifest.tsv"), bordered)
        print("\nPreparation steps (warm, CPU ms of the recognising thread, summed over the 34 images)")
        print(f"  {'':<46} {'CER%':>6} {'WER%':>6} {'CPU ms':>7}   {'bordered CER%':>13}")
        for label, options in STEPS:
            results = []
            for corpus in (IMAGES, bordered):
                folder = os.path.join(out, "steps", label.split(" (")[0].replace(" ", "-"),
                                      "plain" if corpus == IMAGES else "bordered")
                shutil.rmtree(folder, ignore_errors=True)
                images = [os.path.join(corpus, case + ".png") for case in ids()]
                subprocess.run([tool, folder, *images, *options], check=True, capture_output=True)
                report = os.path.join(folder, "score.json")
                subprocess.run([sys.executable, SCORER, folder, "--corpus", corpus, "--quiet", "--json", report],
                               check=True, capture_output=True)
                with open(report) as f:
                    results.append(json.load(f)["overall"])
            plain, framed = results
            print(f"  {label:<46} {100 * plain['cer']:6.2f} {100 * plain['wer']:6.2f}"
                  f" {1000 * plain['total_s']:7.0f}   {100 * framed['cer']:13.2f}")
    finally:
        shutil.rmtree(bordered, ignore_errors=True)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--build", default=os.path.join(ROOT, "build", "bench"))
    parser.add_argument("--out", default=os.path.join(ROOT, "build", "ocr-bench"))
    parser.add_argument("--steps", action="store_true", help="also measure the preparation steps one by one")
    args = parser.parse_args()

    if not os.path.isfile(SCORER):
        print(f"ocr_bench: skipped, the screen-text set is not at {CORPUS}")
        return 0
    if not shutil.which("tesseract"):
        print("ocr_bench: skipped, the tesseract command is not installed")
        return 0
    quillora = os.path.join(args.build, "src", "app", "quillora")
    targets = ["quillora"] + (["ocr_prepare_steps"] if args.steps else [])
    subprocess.run(["ninja", "-C", args.build, "-j1", *targets], check=True, stdout=subprocess.DEVNULL)
    os.makedirs(args.out, exist_ok=True)

    home = tempfile.mkdtemp(prefix="quillora-ocr-bench-")
    try:
        env = private_environment(home)
        ours = run_each("quillora", lambda image: [quillora, "--recognize", image], env, args.out)
        tesseract_env = dict(env, OMP_THREAD_LIMIT="1")
        theirs = run_each("tesseract", lambda image: ["tesseract", image, "stdout", "-l", "deu+eng"],
                          tesseract_env, args.out)

        images = [os.path.join(IMAGES, case + ".png") for case in ids()]
        started = time.monotonic()
        subprocess.run([quillora, "--recognize", *images], env=env, check=True, capture_output=True)
        warm_ms = (time.monotonic() - started) * 1000 / len(images)

        print(f"Screen-text set: {len(images)} images, one process per image (model loading included)\n")
        side_by_side(score(ours, "quillora"), score(theirs, "tesseract"))
        print(f"\nquillora --recognize with all {len(images)} images in one process: {warm_ms:.0f} ms per image")
        print(f"Reports: {args.out}/quillora/score.txt, {args.out}/tesseract/score.txt")
        if args.steps:
            measure_steps(args.build, args.out)
    finally:
        shutil.rmtree(home, ignore_errors=True)
    return 0


if __name__ == "__main__":
    sys.exit(main())
