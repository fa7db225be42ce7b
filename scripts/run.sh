#!/usr/bin/env bash
# Installs what is missing, builds from nothing if need be, and runs the engine
# on its bundled game (build/game, assembled from games/default).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-deps.sh
scripts/build.sh build
echo "Running the bundled game in build/game. This version has no window yet:"
echo "the game runs headless and its message boxes are printed below."
exec build/quillon --headless --real-clock --game build/game "$@"
