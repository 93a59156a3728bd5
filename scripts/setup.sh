#!/usr/bin/env bash
# Installs the Debian packages BrivanSelvo needs to build, run and test; installs nothing when
# everything is already present. `setup.sh windows` adds what the Windows build needs: the
# MinGW-w64 compiler, Wine to run its tests, xdotool to click a window on a virtual display
# and NSIS for its installer.
set -euo pipefail

packages=(
    build-essential cmake g++ pkg-config
    qt6-base-dev libqcustomplot-dev qt6-svg-dev libgl-dev qt6-translations-l10n libreadstat-dev
    libgtest-dev libgmock-dev googletest
    clang libclang-rt-14-dev
    python3 pspp r-cran-haven poppler-utils libreoffice-writer-nogui libreoffice-calc-nogui
    xvfb xauth fonts-dejavu-core
    librsvg2-bin gzip man-db desktop-file-utils appstream
    dpkg-dev lintian file binutils dosfstools exfatprogs exfat-fuse fuse3
)
if [ "${1:-}" = windows ]; then
    packages+=(g++-mingw-w64-x86-64-posix wine wine64 nsis util-linux ninja-build perl qt6-base-dev-tools
        xdotool)
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
