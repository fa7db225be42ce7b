#!/usr/bin/env bash
# The demo game's whole route in the real window under a virtual X server,
# with the clicks of tests/shell/demo_game_test.cpp: a new game through the
# lantern woods to the ending and Quit, then a second start that continues
# from its save through the starry top and the ending to the volume screen's
# fade test. There the window must show the headless run's --dump-screen of
# the same clicks pixel for pixel; both starts must end by Quit and leave the
# headless run's save. Usage: demo_test.sh QUILLON DEMO_DIR (77: no Xvfb, or
# the demo is not built).
set -uo pipefail

quillon=$1
demo=$2
[ -f "$demo/start_up.qln" ] || { echo "the demo game is not built: skipped"; exit 77; }
command -v Xvfb >/dev/null || { echo "Xvfb is not installed: skipped"; exit 77; }
for tool in xdotool import compare; do
    command -v "$tool" >/dev/null || { echo "FAIL: $tool is not installed"; exit 1; }
done

work=$(mktemp -d)
xvfb_pid=
game_pid=
cleanup() {
    [ -n "$game_pid" ] && kill "$game_pid" 2>/dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    wait 2>/dev/null
    [ -n "${KEEP_WORK:-}" ] && echo "kept $work" || rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*"
    [ -f "$work/game.log" ] && sed 's/^/  quillon: /' "$work/game.log"
    exit 1
}

# Clicks as MS,X,Y: MS after the click before (the first: after the start).
page=1200,320,400
first=(1500,320,292 $page $page $page $page 1200,320,176 $page $page $page $page $page
       1500,320,442)
second=(1500,320,342 1200,320,212 $page $page $page $page $page 1500,320,392 1500,420,160
        1200,225,358)
after_fade=(4200,415,358 1500,320,442) # Back, then Quit on the title

# A copy of the game: one window per game folder runs at a time.
cp -r "$demo" "$work/game" || fail "copy of the demo"

# Headless: the first start whole, the second until 100 ms before Back.
script() {
    local t=0 ms x y
    for click in "$@"; do
        IFS=, read -r ms x y <<<"$click"
        t=$((t + ms))
        echo "$t click left $x $y"
    done
}
script "${first[@]}" >"$work/first.txt"
script "${second[@]}" >"$work/second.txt"
last=$(tail -n1 "$work/second.txt" | cut -d' ' -f1)
headless() {
    XDG_DATA_HOME="$work/data-headless" "$quillon" --headless --game "$work/game" \
        --save-dir "$work/save-headless" "$@" >>"$work/headless.log" 2>&1
}
headless --input "$work/first.txt" --max-ms 60000 || fail "the first headless start ended with $?"
headless --input "$work/second.txt" --max-ms $((last + 4100)) --dump-screen "$work/headless.bmp"
[ $? = 3 ] || fail "the second headless start did not run to its time limit"

exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
exec 3>&-
for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    sleep 0.1
done
[ -s "$work/display" ] || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
export DISPLAY=":$(head -n1 "$work/display")"

# start: the game in the window at scale 1 (sanitizer builds skip the leak
# report there, as tests/e2e/window_test.sh explains); sets game_pid and window.
start() {
    ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0" XDG_DATA_HOME="$work/data-window" \
        "$quillon" --scale 1 --game "$work/game" --save-dir "$work/save-window" \
        --max-ms 120000 >"$work/game.log" 2>&1 &
    game_pid=$!
    window=$(timeout 20 xdotool search --sync --onlyvisible --pid "$game_pid" 2>/dev/null | head -n1)
    [ -n "$window" ] || fail "no window appeared"
}
# Each click a little later than in the headless run: the game waits for
# every one, so only their order and places count.
clicks() {
    local ms x y
    for click in "$@"; do
        IFS=, read -r ms x y <<<"$click"
        sleep "$(((ms + 300) / 1000)).$(((ms + 300) % 1000 / 100))"
        xdotool mousemove --window "$window" "$x" "$y" click 1
    done
}
ended() {
    for _ in $(seq 100); do
        kill -0 "$game_pid" 2>/dev/null || break
        sleep 0.1
    done
    wait "$game_pid" || fail "$1: exit status $?"
    game_pid=
}

start
clicks "${first[@]}"
ended "the first start"
start
clicks "${second[@]}"
for _ in $(seq 50); do
    sleep 0.2
    import -window "$window" "$work/window.png" 2>/dev/null &&
        [ "$(compare -metric AE "$work/window.png" "$work/headless.bmp" null: 2>&1)" = 0 ] &&
        break
done
[ "$(compare -metric AE "$work/window.png" "$work/headless.bmp" null: 2>&1)" = 0 ] ||
    fail "the volume screen after the fade differs from the headless one"
clicks "${after_fade[@]}"
ended "the second start"
cmp "$work/save-window/starwatch.sav" "$work/save-headless/starwatch.sav" ||
    fail "the window run's save differs from the headless one"
echo "PASS: the window played the route to the headless screen and save"
