#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Cross-builds QCustomPlot's Qt 6 library (QCustomPlotQt6.dll, its import library and
# qcustomplot.h) for 64-bit Windows with Debian's MinGW-w64, from Debian's own qcustomplot
# source package, against the Windows Qt of build-windows-qt.sh, once per machine. It installs
# the CMake package Debian's libqcustomplot-dev gives on Linux, so find_package(QCustomPlotQt6)
# finds the same target on both systems. The result is cached outside the source tree; a later
# call finds it and does nothing.
#
#   scripts/build-windows-qcustomplot.sh          prints the install prefix on its last line
#
# SELVO_QT_CACHE chooses the cache folder (default ~/.cache/brivanselvo).
set -euo pipefail

version=2.1.0
here="$(cd "$(dirname "$0")/.." && pwd)"
toolchain="$here/cmake/mingw-w64-x86_64.cmake"
project="$here/cmake/qcustomplot-windows/CMakeLists.txt"
cache="${SELVO_QT_CACHE:-$HOME/.cache/brivanselvo}"
prefix="$cache/qcustomplot-$version-mingw64"
stamp="$prefix/.built-by-brivanselvo"

# The library is built against one Qt build: a rebuilt Qt (new options, another toolchain)
# rebuilds it too, and so do changes to its build project or these options.
qt="$(bash "$here/scripts/build-windows-qt.sh" | tail -n 1)"
options=(-DCMAKE_BUILD_TYPE=Release)
# The licence line changes nothing that is built: caches made before it was added stay valid.
digest() { grep -vx '# SPDX-License-Identifier: GPL-3.0-or-later' "$1" | md5sum; }
wanted="qcustomplot $version: ${options[*]} $(digest "$toolchain") $(digest "$project")"
wanted+=" against $(md5sum < "$qt/.built-by-brivanselvo")"

if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$wanted" ]; then
    echo "$prefix"
    exit 0
fi

bash "$here/scripts/debian-source.sh" qcustomplot

work="$cache/qcustomplot-$version-src"
rm -rf "$work" "$prefix"
mkdir -p "$work"
cd "$work"
echo "Fetching Debian's qcustomplot source into $work"
apt-get source -q --download-only qcustomplot
# Unpacking applies Debian's patches, among them the one its Qt 6 build needs.
dpkg-source --no-check -x qcustomplot_*.dsc source > /dev/null

echo "Building QCustomPlot $version for Windows (x86_64-w64-mingw32)"
cmake -S "$(dirname "$project")" -B build "${options[@]}" \
    -DQCUSTOMPLOT_SOURCE_DIR="$work/source" \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DCMAKE_PREFIX_PATH="$qt" -DCMAKE_FIND_ROOT_PATH="$qt" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    > configure.log 2>&1 || { tail -40 configure.log; exit 1; }
cmake --build build --parallel "$(nproc)" > build.log 2>&1 || { tail -40 build.log; exit 1; }
cmake --install build > install.log 2>&1 || { tail -40 install.log; exit 1; }

echo "$wanted" > "$stamp"
cd /
rm -rf "$work"
echo "$prefix"
