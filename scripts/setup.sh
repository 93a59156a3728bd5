#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian packages BrivanSelvo needs to build, run and test, and optipng, which makes
# the manual's pictures smaller; installs nothing when everything is already present. Also makes
# the Turkish locale the locale test runs the window under (tr_TR.UTF-8), when the system does
# not have it yet. `setup.sh windows` adds what the Windows build needs: the MinGW-w64 compiler,
# Wine to run its tests, xdotool to click a window on a virtual display, NSIS for its installer
# and icoutils for the programs' icon and the check of their resources.
set -euo pipefail

packages=(
    build-essential cmake g++ pkg-config
    qt6-base-dev libqcustomplot-dev qt6-svg-dev libgl-dev qt6-translations-l10n libreadstat-dev
    libgtest-dev libgmock-dev googletest
    clang libclang-rt-14-dev
    python3 pspp r-cran-haven poppler-utils libreoffice-writer-nogui libreoffice-calc-nogui
    xvfb xauth fonts-dejavu-core optipng
    librsvg2-bin gzip man-db desktop-file-utils appstream
    dpkg-dev lintian file binutils dosfstools exfatprogs exfat-fuse fuse3 locales
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

sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi

if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    $sudo apt-get update -q
    $sudo apt-get install -y -q "${missing[@]}"
fi

# Under Turkish the C library lower-cases "I" differently: a test runs the window there.
if ! locale -a 2>/dev/null | grep -qix 'tr_TR\.utf-\?8'; then
    echo "Generating the locale tr_TR.UTF-8"
    $sudo localedef -i tr_TR -f UTF-8 tr_TR.UTF-8
fi
