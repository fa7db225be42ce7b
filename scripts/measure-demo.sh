#!/usr/bin/env bash
# Measures the demo game in a real window under a virtual X server (Xvfb):
#   - start to first frame: the engine's own figure (QUILLON_TIMING: from
#     main() to the first presented frame, the screen still black as the
#     window is shown), the exec to the window mapped, and the exec to the
#     window showing anything but black, the first picture the game drew
#     (its pixels polled every millisecond), with the processor time the
#     program had used by then and the time it waited for a processor;
#   - processor use while the title waits with its star animated:
#     utime + stime from /proc/PID/stat over MEASURE_SECONDS (default 10);
#   - peak resident memory: VmHWM from /proc/PID/status after the title,
#     and again after the walk's first pages.
# Prints the machine (cores, processor, load) with the figures: on a shared
# machine the load says how far they can be trusted.
#   scripts/measure-demo.sh [BUILD_DIR]   (default build)
# MEASURE_RUNS (5) starts for the first frame; MEASURE_ARGS more options
# for the engine (--scale 1); SDL_AUDIODRIVER=disk with
# SDL_DISKAUDIOFILE=/dev/null gives a machine without sound a device that
# plays in real time, so the mixer's work counts too.
set -uo pipefail
cd "$(dirname "$0")/.." || exit 1
build=${1:-build}
runs=${MEASURE_RUNS:-5}
seconds=${MEASURE_SECONDS:-10}
quillon=$build/quillon
[ -x "$quillon" ] || { echo "no $quillon: build first" >&2; exit 1; }
[ -f "$build/games/demo/start_up.qln" ] || { echo "no demo game in $build/games/demo" >&2; exit 1; }
for tool in Xvfb xdotool python3; do
    command -v "$tool" >/dev/null || { echo "$tool is not installed" >&2; exit 1; }
done

work=$(mktemp -d)
xvfb_pid=
game_pid=
probe_pid=
cleanup() {
    [ -n "$game_pid" ] && kill "$game_pid" 2>/dev/null
    [ -n "$probe_pid" ] && kill "$probe_pid" 2>/dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

# A copy of the game and private data and runtime folders, so the runs
# neither save into the build nor meet a copy the user is playing.
cp -r "$build/games/demo" "$work/game"
export XDG_DATA_HOME=$work/data XDG_RUNTIME_DIR=$work/run
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"

# shellcheck source=scripts/xvfb.sh
. scripts/xvfb.sh
start_xvfb 1920x1080 "$work" || exit 1

now_ms() { echo $(($(date +%s%N) / 1000000)); }
ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
hwm_kb() { awk '/^VmHWM:/ {print $2}' "/proc/$1/status"; }
# probe FIFO: reads "WINDOW PID" from FIFO (started before the game, so the
# interpreter's start costs nothing), then polls a strip of the window's
# pixels (a third of the way down, through Xlib) every millisecond until
# they are not all black, the first picture the game drew; prints when (ms
# since the epoch), and the program's time on a processor and waiting for
# one (schedstat of its threads, ms) at that moment.
probe() {
    python3 - "$@" <<'PY'
import ctypes, glob, sys, time
x = ctypes.cdll.LoadLibrary("libX11.so.6")
x.XOpenDisplay.restype = ctypes.c_void_p
x.XGetImage.restype = ctypes.c_void_p
x.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
                        ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
x.XDestroyImage.argtypes = [ctypes.c_void_p]
x.XGetWindowAttributes.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_void_p]
ignore = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.c_void_p)(lambda d, e: 0)
x.XSetErrorHandler(ignore)
display = x.XOpenDisplay(None)
with open(sys.argv[1]) as fifo:
    window, pid = fifo.read().split()
window = int(window)
size = (ctypes.c_int * 64)()  # XWindowAttributes starts x, y, width, height
x.XGetWindowAttributes(display, window, size)
width, rows, y = size[2], 16, size[3] // 3
until = time.time() + 10
while time.time() < until:
    image = x.XGetImage(display, window, 0, y, width, rows, 0xFFFFFF, 2)  # ZPixmap
    if image:
        # XImage: int width, height, xoffset, format; char *data; ...; at 44
        # int bytes_per_line.
        data = ctypes.c_void_p.from_address(image + 16).value
        per_line = ctypes.c_int.from_address(image + 44).value
        pixels = ctypes.string_at(data, per_line * rows)
        x.XDestroyImage(image)
        if pixels.count(0) != len(pixels):
            seen = int(time.time() * 1000)
            run = wait = 0
            for stat in glob.glob(f"/proc/{pid}/task/*/schedstat"):
                fields = open(stat).read().split()
                run, wait = run + int(fields[0]), wait + int(fields[1])
            print(seen, run // 1000000, wait // 1000000)
            sys.exit(0)
    time.sleep(0.001)
sys.exit(1)
PY
}

# start [FIFO]: the game in the window with the timing report; sets
# game_pid, window (polled every few milliseconds), exec_ms and mapped_ms,
# and tells the probe at FIFO.
start() {
    exec_ms=$(now_ms)
    # shellcheck disable=SC2086  # MEASURE_ARGS are words for the engine
    QUILLON_TIMING=1 "$quillon" --game "$work/game" ${MEASURE_ARGS:-} >"$work/game.log" 2>&1 &
    game_pid=$!
    window=
    for _ in $(seq 4000); do
        window=$(xdotool search --onlyvisible --pid "$game_pid" 2>/dev/null | head -n1)
        [ -n "$window" ] && break
        sleep 0.005
    done
    mapped_ms=$(($(now_ms) - exec_ms))
    [ -n "$window" ] || { echo "no window appeared: $(cat "$work/game.log")" >&2; exit 1; }
    [ -n "${1:-}" ] && echo "$window $game_pid" >"$1"
}
stop() {
    kill "$game_pid" 2>/dev/null
    wait "$game_pid" 2>/dev/null
    game_pid=
}

echo "machine: $(nproc) cores, $(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n1)"
echo "load at the start: $(cut -d' ' -f1-3 /proc/loadavg) (a shared machine: other builds may run)"

# The program alone, exec to exit: what loading it costs before main().
version_ms=$(now_ms)
"$quillon" --version >/dev/null
version_ms=$(($(now_ms) - version_ms))
echo "exec to exit of quillon --version: $version_ms ms"

engine_ms=() seen_ms=() cpu_ms=()
for run in $(seq "$runs"); do
    rm -f "$work/fifo" && mkfifo "$work/fifo"
    probe "$work/fifo" >"$work/probe.txt" &
    probe_pid=$!
    sleep 0.3  # the interpreter up and waiting
    start "$work/fifo"
    seen="" cpu="" waited=""
    if wait "$probe_pid" && read -r seen_at cpu waited <"$work/probe.txt"; then
        seen=$((seen_at - exec_ms))
    fi
    probe_pid=
    sleep 0.2
    first=$(sed -n 's/^quillon: first frame presented \([0-9.]*\) ms after start$/\1/p' "$work/game.log")
    stop
    engine_ms+=("${first:-?}") seen_ms+=("${seen:-?}") cpu_ms+=("${cpu:-?}")
    echo "run $run: first frame (black, as the window is shown) ${first:-?} ms after main();" \
        "window mapped $mapped_ms ms and the game's first picture on it ${seen:-?} ms after the" \
        "exec, by then ${cpu:-?} ms on a processor and ${waited:-?} ms waiting for one"
done
median() { printf '%s\n' "$@" | grep -v '?' | sort -n | awk '{a[NR]=$1} END {if (NR) print a[int((NR+1)/2)]; else print "?"}'; }
minimum() { printf '%s\n' "$@" | grep -v '?' | sort -n | head -n1; }
echo "first frame: engine's first present median $(median "${engine_ms[@]}") ms (least $(minimum "${engine_ms[@]}"));" \
    "the game's first picture median $(median "${seen_ms[@]}") ms after the exec (least" \
    "$(minimum "${seen_ms[@]}")), $(median "${cpu_ms[@]}") ms of processor time; target under 100 ms"

# The title waiting with its star: settle for 3 s (the fade-in and the
# music start), then count the processor time over the interval.
start
sleep 3
hz=$(getconf CLK_TCK)
game_before=$(ticks "$game_pid") xvfb_before=$(ticks "$xvfb_pid") began=$(now_ms)
sleep "$seconds"
game_after=$(ticks "$game_pid") xvfb_after=$(ticks "$xvfb_pid") ended=$(now_ms)
wall=$((ended - began))
percent() { awk -v t="$1" -v hz="$hz" -v ms="$wall" 'BEGIN {printf "%.2f", 100 * t / hz / (ms / 1000)}'; }
echo "title waiting: $(percent $((game_after - game_before)))% of one core over $wall ms" \
    "(Xvfb drawing it: $(percent $((xvfb_after - xvfb_before)))%); target under 3%"
echo "threads: $(find "/proc/$game_pid/task" -mindepth 1 -maxdepth 1 | wc -l); sound: $(grep -q 'no audio device' "$work/game.log" && echo "no device (silent)" || echo "a device")"
title_hwm=$(hwm_kb "$game_pid")

# The walk's first pages: New game, then three clicks on the message
# window (positions of games/demo/start_up.qasm, scaled as the window is).
scale=$(($(xdotool getwindowgeometry "$window" | sed -n 's/.*Geometry: \([0-9]*\)x.*/\1/p') / 640))
click() {
    xdotool mousemove --window "$window" $(($1 * scale)) $(($2 * scale)) click 1
    sleep 1.5
}
click 320 292
for _ in 1 2 3; do click 320 400; done
walk_hwm=$(hwm_kb "$game_pid")
stop
echo "peak resident memory: $((title_hwm / 1024)) MB after the title, $((walk_hwm / 1024)) MB" \
    "after the walk's first pages (window scale $scale); target under 64 MB"
echo "load at the end: $(cut -d' ' -f1-3 /proc/loadavg)"
