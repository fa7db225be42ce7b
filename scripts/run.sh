#!/usr/bin/env bash
# Installs what is missing, builds from nothing if need be, and runs the engine
# on its bundled game (build/game, assembled from games/default).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-deps.sh
scripts/build.sh build
screen=build/game/last-screen.bmp
echo "Running the bundled game in build/game. This version has no live window yet:"
echo "the game runs headless, its message boxes are printed below, and its last"
echo "screen is written to $screen."
build/quillon --headless --real-clock --game build/game --dump-screen "$screen" "$@"
echo "The last screen is in $screen."
