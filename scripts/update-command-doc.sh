#!/usr/bin/env bash
# Writes docs/commands.md anew from the command table (after a change of a row).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh build
build/qlndis --command-doc -o docs/commands.md
