#!/usr/bin/env bash
# Installs the Debian packages that building, testing and running Stacked Graph need, and any more
# packages named as arguments (scripts/make-screenshot.sh asks for its own tools this way).
# Safe to run again: only what is missing is installed.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config
    qt6-base-dev qt6-base-dev-tools libqt6opengl6-dev libgl-dev qt6-qpa-plugins libpng-dev zlib1g-dev libxcb1-dev
    qt6-svg-dev libcsv-dev poppler-utils
    lld
    libgl1-mesa-dri libglx-mesa0 xvfb xauth
    fonts-dejavu-core locales
    libbenchmark-dev
    clang clang-format libclang-rt-14-dev
    python3 python3-matplotlib python3-numpy
    help2man desktop-file-utils appstream file
    "$@"
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
    SUDO="sudo"
fi
echo "Installing: ${missing[*]}"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
