#!/usr/bin/env bash
# Installs the Debian packages the build needs, only those that are missing.
# Run as root on Debian 12 (or with sudo available).
set -euo pipefail

packages=(
    build-essential cmake ninja-build ccache pkg-config python3
    clang libclang-rt-14-dev
    libgtest-dev googletest libbenchmark-dev
    zlib1g-dev lua5.4 liblua5.4-dev libpng-dev
    libfreetype-dev libfontconfig-dev fonts-ipafont-gothic fonts-ipafont-mincho fonts-dejavu-core
    libsdl2-dev libsdl2-mixer-dev
    libsndfile1-dev libfluidsynth-dev timgm6mb-soundfont
    xvfb xauth xdotool imagemagick
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

echo "Installing: ${missing[*]}"
as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update -qq
"${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
