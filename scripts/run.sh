#!/usr/bin/env bash
# Installs what is missing, builds from nothing if need be, and runs the demo
# game (build/games/demo, made from games/demo): in a window when there is a
# display, else headless through a short scripted visit of the title and the
# volume screen, writing its last screen and what it played into build/.
# The game's saves and settings go to build/demo-save, so the built game
# folder stays as it was made.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-deps.sh
scripts/build.sh build
game=build/games/demo
saves=build/demo-save
if [ ! -f "$game/start_up.qln" ]; then
    echo "The demo game was not built (it needs Python 3 and libpng); see the build's warnings." >&2
    exit 1
fi
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    echo "Running the demo game in a window (Alt+Enter: full screen, Alt+F4: quit)."
    exec build/quillon --game "$game" --save-dir "$saves" "$@"
fi

screen=build/demo-last-screen.bmp
audio=build/demo-audio.wav
tour=build/demo-tour.txt
# Clicks at the positions of games/demo/start_up.qasm: the title with its
# star for a few seconds, the volume screen (the CD line one step down and
# up again, each with its chime), back, and Quit. --max-ms ends the run
# should a click miss.
cat >"$tour" <<'TOUR'
# TIME click left X Y (milliseconds on the virtual clock)
4000 click left 320 392
6000 click left 420 160
7500 click left 470 160
9000 click left 415 358
11000 click left 320 442
TOUR
echo "No display (neither DISPLAY nor WAYLAND_DISPLAY is set): the demo game runs headless"
echo "through the clicks of $tour; its messages are printed below."
status=0
build/quillon --headless --game "$game" --save-dir "$saves" --input "$tour" --max-ms 30000 \
    --dump-screen "$screen" --dump-audio "$audio" "$@" || status=$?
echo "The last screen is in $screen, what the game played in $audio."
# 3: --max-ms ended the visit, which still wrote both files.
[ "$status" = 0 ] || [ "$status" = 3 ] || exit "$status"
