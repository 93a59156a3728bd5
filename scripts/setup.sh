#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian packages BrivanSelvo needs to build, run and test; installs nothing when
# everything is already present. `setup.sh windows` adds what the Windows build needs: the
# MinGW-w64 compiler, Wine to run its tests, xdotool to click a window on a virtual display,
# NSIS for its installer and icoutils for the programs' icon and the check of their resources.
set -euo pipefail

packages=(
    build-essential cmake g++ pkg-config
    qt6-base-dev libqcustomplot-dev qt6-svg-dev libgl-dev qt6-translations-l10n
    libgtest-dev libgmock-dev googletest
    clang libclang-rt-14-dev
    python3 pspp poppler-utils libreoffice-writer-nogui libreoffice-calc-nogui
    xvfb xauth fonts-dejavu-core
    librsvg2-bin gzip man-db desktop-file-utils appstream
    dpkg-dev lintian file binutils dosfstools
)
if [ "${1:-}" = windows ]; then
    packages+=(g++-mingw-w64-x86-64-posix wine wine64 nsis util-linux ninja-build perl qt6-base-dev-tools
        xdotool icoutils)
fi

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
$sudo apt-get install -y -q "${missing[@]}"
