#!/usr/bin/env bash
# Takes the screenshots the AppStream description shows (data/screenshots/) from the program on a virtual desktop:
# the capture overlay with a selection being dragged, and the text editor with what was read. Run it after a
# change to what they show, from a built tree:
#
#   scripts/take-screenshots.sh [BUILD_DIR]     (default build/test)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/test}
exec scripts/virtual-desktop.sh --size 1280x720 -- python3 scripts/take-screenshots.py \
    "$build/src/app/quillora" "$build/tests/e2e/e2e_text_window" data/screenshots
