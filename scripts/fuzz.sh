#!/usr/bin/env bash
# Builds the libFuzzer harnesses with clang (ASan+UBSan) and runs each one.
#   scripts/fuzz.sh SECONDS [HARNESS...]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-10}
shift || true
# Warnings as errors are the main and sanitizer builds' business (GCC); the
# fuzz build's clang may warn differently.
QUILLON_WERROR= CC=clang CXX=clang++ scripts/build.sh build-fuzz -DQUILLON_FUZZ=ON \
    -DQUILLON_TESTS=OFF -DQUILLON_BENCH=OFF -DQUILLON_WERROR=OFF -DCMAKE_C_COMPILER=clang \
    -DCMAKE_CXX_COMPILER=clang++
harnesses=("$@")
if [ ${#harnesses[@]} -eq 0 ]; then
    for f in fuzz/fuzz_*.cpp; do harnesses+=("$(basename "$f" .cpp)"); done
fi
for h in "${harnesses[@]}"; do
    corpus=fuzz-out/corpus/$h
    mkdir -p "$corpus"
    seeds=()
    [ -d "fuzz/seeds/$h" ] && seeds=("fuzz/seeds/$h")
    # Seeds the build assembles (the games of fuzz_game_run).
    [ -d "build-fuzz/fuzz/seeds/$h" ] && seeds+=("build-fuzz/fuzz/seeds/$h")
    echo "-- $h ($seconds s)"
    log=fuzz-out/$h.log
    if ! build-fuzz/fuzz/$h -max_total_time="$seconds" -print_final_stats=1 "$corpus" "${seeds[@]}" \
        >"$log" 2>&1; then
        tail -n 60 "$log"
        echo "$h: failed (crash input saved in the working directory)"
        exit 1
    fi
    grep -E 'stat::number_of_executed_units|stat::peak_rss' "$log" || true
done
