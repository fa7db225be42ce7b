#!/usr/bin/env bash
# Configures and builds one build directory.
#   scripts/build.sh [BUILD_DIR] [extra cmake arguments...]
set -euo pipefail
cd "$(dirname "$0")/.."
# Paths below the checkout are hashed relative to it, so a fresh clone in
# another folder still finds its objects in ccache.
export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$PWD}"
export CCACHE_NOHASHDIR="${CCACHE_NOHASHDIR:-1}"
dir=${1:-build}
shift || true
# QUILLON_WERROR=ON in the environment turns warnings into errors (CI sets it).
werror=()
[ -n "${QUILLON_WERROR:-}" ] && werror=(-DQUILLON_WERROR="$QUILLON_WERROR")
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${werror[@]}" "$@" >/dev/null
cmake --build "$dir" --parallel "$(nproc)"
