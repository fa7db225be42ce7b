#!/usr/bin/env bash
# The demo game's whole route in the real window under a virtual X server,
# with the clicks of tests/shell/demo_game_test.cpp: a new game through the
# lantern woods to the ending and Quit, then a second start that continues
# from its save through the starry top, the ending and the volume screen's
# fade test, Back and Quit. Before each click the window must show what the
# headless run showed 100 ms before the same click (the title's twinkling
# star aside: its frame depends on the moment), the volume screen after the
# fade pixel for pixel; both starts must end by Quit and leave the headless
# run's save. Usage: demo_test.sh QUILLON DEMO_DIR (77: no Xvfb, or the demo
# is not built).
set -uo pipefail

quillon=$1
demo=$2
[ -f "$demo/start_up.qln" ] || { echo "the demo game is not built: skipped"; exit 77; }
command -v Xvfb >/dev/null || { echo "Xvfb is not installed: skipped"; exit 77; }
for tool in xdotool import compare convert; do
    command -v "$tool" >/dev/null || { echo "FAIL: $tool is not installed"; exit 1; }
done

work=$(mktemp -d)
xvfb_pid='' game_pid=''
trap '[ -n "$game_pid" ] && kill $game_pid; [ -n "$xvfb_pid" ] && kill $xvfb_pid
      wait; rm -rf "$work"' EXIT
fail() {
    echo "FAIL: $*"
    sed 's/^/  quillon: /' "$work"/*.log
    exit 1
}

# Clicks as MS:X:Y, MS after the click before (the first: after the start):
# New game, the pages, the woods, the pages, Quit; Continue, the hilltop,
# the pages, Volume, the CD's minus, Fade (3.8 s), Back, Quit.
p=1200:320:400
first=(1500:320:292 "$p" "$p" "$p" "$p" 1200:320:176 "$p" "$p" "$p" "$p" "$p" 1500:320:442)
second=(1500:320:342 1200:320:212 "$p" "$p" "$p" "$p" "$p" 1500:320:392 1500:420:160 1200:225:358
        4200:415:358 1500:320:442)
after_fade=10 # the click after the fade test: Back

# A copy of the game: one window per game folder runs at a time.
cp -r "$demo" "$work/game" || fail "copy of the demo"

same() { [ "$(compare -metric AE "$1" "$2" null: 2>&1)" = 0 ]; }
# masked PICTURE OUT: the picture with the title star's square blacked out.
masked() { convert "$1" -fill black -draw "rectangle 126,36,173,83" "$2"; }
# headless START SAVE_FROM CLICKS...: START-I.png is the headless screen
# 100 ms before click I, each from its own run; the whole start's save
# ends in save-START.
headless() {
    local start=$1 from=$2 t=0 i=0 ms x y
    shift 2
    : >"$work/$start.txt"
    for click in "$@" end; do
        rm -rf "$work/data" "$work/save-$start"
        cp -r "$from" "$work/save-$start"
        if [ "$click" = end ]; then
            XDG_DATA_HOME="$work/data" "$quillon" --headless --game "$work/game" \
                --save-dir "$work/save-$start" --input "$work/$start.txt" --max-ms 60000 \
                >>"$work/headless.log" 2>&1 || fail "the headless $start start ended with $?"
            return
        fi
        IFS=: read -r ms x y <<<"$click"
        t=$((t + ms))
        XDG_DATA_HOME="$work/data" "$quillon" --headless --game "$work/game" \
            --save-dir "$work/save-$start" --input "$work/$start.txt" --max-ms $((t - 100)) \
            --dump-screen "$work/$start-$i.bmp" >>"$work/headless.log" 2>&1
        masked "$work/$start-$i.bmp" "$work/$start-$i.png" || fail "no headless screen $start-$i"
        echo "$t click left $x $y" >>"$work/$start.txt"
        i=$((i + 1))
    done
}
mkdir "$work/empty"
headless first "$work/empty" "${first[@]}"
headless second "$work/save-first" "${second[@]}"

# shellcheck source=scripts/xvfb.sh
. "$(dirname "$0")/../../scripts/xvfb.sh"
start_xvfb 1280x1024 "$work" || fail "Xvfb did not start"

# window START CLICKS...: the game in the window at scale 1 (sanitizer
# builds skip the leak report there, as tests/e2e/window_test.sh explains);
# each click once the window shows its headless screen (a click amid a
# transition, slower on a busy machine, would be lost), then the end by Quit.
window() {
    local start=$1 i=0 ms x y last=""
    shift
    ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0" \
        XDG_DATA_HOME="$work/data-window" "$quillon" --scale 1 --game "$work/game" \
        --save-dir "$work/save-window" >"$work/game.log" 2>&1 &
    game_pid=$!
    local id
    id=$(timeout 20 xdotool search --sync --onlyvisible --pid "$game_pid" | head -n1)
    [ -n "$id" ] || fail "no window appeared"
    for click in "$@"; do
        IFS=: read -r ms x y <<<"$click"
        # No sooner than in the headless run: the fade test ends on the very
        # screen it starts with.
        sleep "$((ms / 1000)).$((ms % 1000 / 100))"
        # A click the game was too busy to see (a press and release inside
        # one long step, such as the SoundFont's first load) is lost, as it
        # would be for a player, who clicks again: after 4 s without the
        # screen the last click is sent once more, at most three times.
        local shown='' round
        for round in 0 1 2 3 4; do
            for _ in $(seq 40); do
                import -window "$id" "$work/window.png" 2>/dev/null &&
                    masked "$work/window.png" "$work/window-masked.png" &&
                    same "$work/window-masked.png" "$work/$start-$i.png" && shown=1 && break
                sleep 0.1
            done
            [ -n "$shown" ] && break
            if [ -n "$last" ] && [ "$round" -lt 3 ]; then
                echo "$start start: click $((i - 1)) sent again"
                IFS=: read -r _ x y <<<"$last"
                xdotool mousemove --window "$id" "$x" "$y" mousedown 1 sleep 0.05 mouseup 1
            fi
        done
        [ -n "$shown" ] || fail "$start start: the window never showed the screen before click $i"
        IFS=: read -r ms x y <<<"$click"
        if [ "$start" = second ] && [ "$i" = "$after_fade" ]; then
            same "$work/window.png" "$work/second-$i.bmp" ||
                fail "the volume screen after the fade differs from the headless one"
        fi
        # The picture is up a moment before the game waits; a press of 50 ms
        # as the headless clicks have.
        sleep 0.3
        xdotool mousemove --window "$id" "$x" "$y" mousedown 1 sleep 0.05 mouseup 1
        last=$click
        i=$((i + 1))
    done
    for _ in $(seq 100); do
        kill -0 "$game_pid" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$game_pid" 2>/dev/null && fail "$start start: Quit did not end the program"
    wait "$game_pid" || fail "$start start: exit status $?"
    game_pid=''
}
window first "${first[@]}"
window second "${second[@]}"
cmp "$work/save-window/starwatch.sav" "$work/save-second/starwatch.sav" ||
    fail "the window run's save differs from the headless one"
echo "PASS: the window showed the headless screens along the route and left its save"
