#!/usr/bin/env bash
# cmake --install into a temporary prefix: the programs, the manual page and
# the demo game land where they belong, and what was installed runs.
# Usage: install_test.sh BUILD_DIR VERSION
set -uo pipefail

build=$1
version=$2
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
fail() {
    echo "FAIL: $*"
    exit 1
}

cmake --install "$build" --prefix "$prefix" >"$prefix/install.log" 2>&1 ||
    fail "cmake --install: $(cat "$prefix/install.log")"

programs="quillon qlnasm qlndis qlnpack qlnogg"
[ -d "$build/games/demo" ] && programs="$programs qlnpic"  # the demo needs it too
for program in $programs; do
    [ -x "$prefix/bin/$program" ] || fail "bin/$program was not installed"
done
out=$("$prefix/bin/quillon" --version) || fail "quillon --version ended with $?"
[ "$out" = "quillon $version" ] || fail "quillon --version printed \"$out\""

page=$prefix/share/man/man1/quillon.1
[ -f "$page" ] || fail "share/man/man1/quillon.1 was not installed"
if command -v groff >/dev/null; then
    warnings=$(groff -man -ww -z "$page" 2>&1)
    [ -z "$warnings" ] || fail "the manual page does not format cleanly: $warnings"
fi

demo=$prefix/share/quillon/demo
if [ -d "$build/games/demo" ]; then
    [ -f "$demo/start_up.qln" ] || fail "the demo game was not installed"
    [ -e "$demo/assets.stamp" ] && fail "the demo's build stamp was installed"
    # The installed demo starts and shows its title; the data home takes
    # the volumes it keeps.
    XDG_DATA_HOME=$prefix/data "$prefix/bin/quillon" --headless --game "$demo" \
        --max-ms 3000 --dump-screen "$prefix/title.bmp" >"$prefix/run.log" 2>&1
    status=$?
    [ "$status" = 3 ] || fail "the installed demo ended with $status: $(cat "$prefix/run.log")"
    grep -q "scenario error" "$prefix/run.log" && fail "the installed demo: $(cat "$prefix/run.log")"
    [ -s "$prefix/title.bmp" ] || fail "the installed demo left no screen"
    # Without a start-up scenario the engine names the installed demo.
    mkdir "$prefix/empty"
    "$prefix/bin/quillon" --headless --game "$prefix/empty" 2>"$prefix/empty.log"
    grep -q -- "--game $demo)" "$prefix/empty.log" ||
        fail "an empty folder does not point to the installed demo: $(cat "$prefix/empty.log")"
fi
echo "PASS"
