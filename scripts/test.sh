#!/usr/bin/env bash
# Installs what is missing, builds from nothing if need be, runs the whole test suite.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-deps.sh
scripts/build.sh build
ctest --test-dir build --output-on-failure --parallel "$(nproc)"
