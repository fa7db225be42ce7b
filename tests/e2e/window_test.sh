#!/usr/bin/env bash
# The real window under a virtual X server, at scale 1 and 2: a click on
# one of two choices must leave the window's pixels equal to the headless
# run's --dump-screen of the same scenario and click, and the program must
# end with its scenario. Usage: window_test.sh QUILLON QLNASM (77: no Xvfb).
set -uo pipefail

quillon=$1
qlnasm=$2
if ! command -v Xvfb >/dev/null; then
    echo "Xvfb is not installed: skipped"
    exit 77
fi
for tool in xdotool import compare convert; do
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

# Two choices over buttons of 240 x 20; the chosen one fills a square at
# (20, 20) in its colour; the next click anywhere ends the game.
mkdir "$work/game"
cat >"$work/game/start_up.qasm" <<'QASM'
.code
    pic_fill 0, 0, 0, 639, 479, 4, 0, -1
    buf_regions 10, 2
    btn_def 10, 0, 1, 0, 0, 240, 20, 65535, 0
    btn_def 10, 1, 2, 0, 20, 240, 20, 65535, 0
    win_open 1, 1, px: 200, py: 150, type: 0x030C, bt_buff: 10
    win_list_layout 1, 20, 240, 0, 0, 0, 2, 0
    win_select 1, -1, 0x180, -1, -1, -1, 0, ["はい", yes, 1], ["いいえ", no, 1]
    jump done
yes:
    pic_fill 0, 20, 20, 59, 59, 2, 0, -1
    jump done
no:
    pic_fill 0, 20, 20, 59, 59, 7, 0, -1
done:
    btn_wait -1, -1, 0
    end
QASM
"$qlnasm" -o "$work/game/start_up.qln" "$work/game/start_up.qasm" || fail "qlnasm"

# The same clicks, scripted, in a headless run.
printf '100 click left 320 180\n2000 click left 10 10\n' >"$work/input.txt"
"$quillon" --headless --game "$work/game" --input "$work/input.txt" \
    --dump-screen "$work/headless.bmp" >"$work/headless.log" 2>&1 ||
    fail "the headless run ended with $?"
# The second choice fills its square in colour 7 (191, 191, 191).
convert "$work/headless.bmp" -crop 1x1+30+30 txt:- | grep -q '#BFBFBF' ||
    fail "the headless run did not take the second choice"
convert "$work/headless.bmp" -filter point -resize 200% "$work/headless-2.bmp" || fail "convert"

# shellcheck source=scripts/xvfb.sh
. "$(dirname "$0")/../../scripts/xvfb.sh"
start_xvfb 1600x1200 "$work" || fail "Xvfb did not start"

# Checks of a screenshot of $window, a wait of up to 10 s for one, and a
# wait of up to MS for the program to end.
same_as() { [ "$(compare -metric AE "$work/shot.png" "$1" null: 2>&1)" = "0" ]; }
paused() { convert "$work/shot.png" -crop 1x1+30+60 txt:- | grep -q '#00C000'; }
wait_for() {
    local what=$1
    shift
    for _ in $(seq 50); do
        import -window "$window" "$work/shot.png" 2>/dev/null && "$@" && return 0
        sleep 0.2
    done
    fail "scale $scale: the window never showed $what"
}
ended_within() {
    local until=$(($(date +%s%N) + $1 * 1000000))
    while kill -0 "$game_pid" 2>/dev/null; do
        [ "$(date +%s%N)" -gt $until ] && return 1
        sleep 0.005
    done
}

# Sanitizer builds skip the leak report in the window: the desktop libraries
# SDL loads keep blocks until exit (the headless runs check the engine's).
window_asan="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
# start WHAT ARGS: starts the program in the window, sets game_pid and window.
start() {
    local what=$1
    shift
    ASAN_OPTIONS=$window_asan "$quillon" "$@" >"$work/game.log" 2>&1 &
    game_pid=$!
    window=$(timeout 20 xdotool search --sync --onlyvisible --pid "$game_pid" 2>/dev/null | head -n1)
    [ -n "$window" ] || fail "$what: no window appeared"
}

# run SCALE EXPECTED: clicks the second choice at (320, 180), then (10, 10).
run() {
    local scale=$1 expected=$2
    start "scale $scale" --scale "$scale" --game "$work/game" --max-ms 60000
    local size
    size=$(xdotool getwindowgeometry "$window" | sed -n 's/.*Geometry: //p')
    [ "$size" = "$((640 * scale))x$((480 * scale))" ] || fail "scale $scale: window is $size"

    sleep 0.5  # the first picture must be up before the click counts
    xdotool mousemove --window "$window" $((320 * scale)) $((180 * scale)) click 1
    wait_for "the headless screen" same_as "$expected"

    if [ "$scale" = 1 ]; then
        # Focus away: the pause display (the green P at (30, 60)); back:
        # exactly the screen as it was.
        xdotool windowfocus --sync "$window"
        xdotool windowfocus "$(xdotool search --maxdepth 0 --name '' | head -n1)"
        wait_for "the pause display" paused
        xdotool windowfocus --sync "$window"
        wait_for "the screen after the pause" same_as "$expected"
    fi

    xdotool mousemove --window "$window" $((10 * scale)) $((10 * scale)) click 1
    ended_within 10000 || fail "scale $scale: the program did not end with its scenario"
    wait "$game_pid" || fail "scale $scale: exit status $?"
    game_pid=
    echo "scale $scale: the window matched the headless screen and ended by itself"
}

run 1 "$work/headless.bmp"
run 2 "$work/headless-2.bmp"

# Alt+F4 or SIGTERM amid a minute's fade-in ends the program within 100 ms
# (500 in sanitizer builds).
mkdir "$work/fade"
convert -size 64x64 xc:white "BMP3:$work/fade/art.bmp" || fail "convert"
printf '.code\n    win_load "art.bmp", 0, 0, 0, 0, 60000, -1, 255, 0, 0\n    end\n' \
    >"$work/fade/start_up.qasm"
"$qlnasm" -o "$work/fade/start_up.qln" "$work/fade/start_up.qasm" || fail "qlnasm (fade)"
prompt_ms=100
[ -n "${ASAN_OPTIONS:-}" ] && prompt_ms=500

close_during_fade() {
    local how=$1
    start "$how" --scale 1 --game "$work/fade"
    sleep 0.5
    kill -0 "$game_pid" 2>/dev/null || fail "$how: the program ended before the close"
    [ "$how" = alt-f4 ] && xdotool windowfocus --sync "$window"
    local began
    began=$(date +%s%N)
    if [ "$how" = alt-f4 ]; then
        xdotool key --window "$window" alt+F4
    else
        kill -TERM "$game_pid"
    fi
    ended_within 5000 || fail "$how: the program still runs 5 s after the close"
    local took=$((($(date +%s%N) - began) / 1000000))
    wait "$game_pid" || fail "$how: exit status $?"
    game_pid=
    [ "$took" -le "$prompt_ms" ] || fail "$how: the program took $took ms to end"
    echo "$how during a minute's fade: the program ended in $took ms"
}

close_during_fade alt-f4
close_during_fade sigterm
echo "PASS"
