#!/usr/bin/env bash
# Starts the editor on a virtual screen with a sample sprite open and saves a picture of its
# window, by default to docs/screenshot.png.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$root/docs/screenshot.png}
build=${BUILD_DIR:-$root/build}
if [ ! -f "$build/build.ninja" ]; then
  bash "$root/scripts/build.sh" celwright_screenshot
else
  cmake --build "$build" --parallel 2 --target celwright_screenshot
fi
mkdir -p "$(dirname "$out")"
QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1024x768x24 -dpi 96" \
  "$build/tests/editor/celwright_screenshot" "$out"
