# shellcheck shell=bash
# Sourced by the window tests and scripts/measure-demo.sh.
# start_xvfb WxH WORKDIR: starts a virtual X server on a free display,
# sets xvfb_pid and exports DISPLAY; returns 1 (its log on standard error)
# when it does not come up within 10 s.
start_xvfb() {
    exec 3>"$2/display"
    Xvfb -displayfd 3 -screen 0 "$1x24" -nolisten tcp >"$2/xvfb.log" 2>&1 &
    # shellcheck disable=SC2034 # read by the scripts that source this
    xvfb_pid=$!
    exec 3>&-
    for _ in $(seq 100); do
        [ -s "$2/display" ] && break
        sleep 0.1
    done
    if [ ! -s "$2/display" ]; then
        echo "Xvfb did not start: $(cat "$2/xvfb.log")" >&2
        return 1
    fi
    DISPLAY=":$(head -n1 "$2/display")"
    export DISPLAY
}
