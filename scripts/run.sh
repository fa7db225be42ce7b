#!/usr/bin/env bash
# Installs what is missing, builds from nothing if need be, and runs the engine
# on its bundled game (build/game, assembled from games/default): in a window
# when there is a display, else headless, writing its last screen to a bitmap.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-deps.sh
scripts/build.sh build
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    echo "Running the bundled game in a window (Alt+Enter: full screen, Alt+F4: quit)."
    exec build/quillon --game build/game "$@"
fi
screen=build/game/last-screen.bmp
echo "No display (neither DISPLAY nor WAYLAND_DISPLAY is set): the bundled game runs"
echo "headless, its message boxes are printed below, and its last screen is written"
echo "to $screen."
build/quillon --headless --real-clock --game build/game --dump-screen "$screen" "$@"
echo "The last screen is in $screen."
