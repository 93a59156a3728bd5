#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Cross-builds Qt's base module (Core, Gui, Widgets, PrintSupport, Test) for 64-bit Windows with Debian's
# MinGW-w64, from Debian's own qt6-base source package, once per machine. The result is cached
# outside the source tree; a later call finds it and does nothing.
#
#   scripts/build-windows-qt.sh          prints the install prefix on its last line
#
# SELVO_QT_CACHE chooses the cache folder (default ~/.cache/brivanselvo).
set -euo pipefail

version=6.4.2
toolchain="$(cd "$(dirname "$0")/.." && pwd)/cmake/mingw-w64-x86_64.cmake"
cache="${SELVO_QT_CACHE:-$HOME/.cache/brivanselvo}"
prefix="$cache/qt-$version-mingw64"
stamp="$prefix/.built-by-brivanselvo"
# Changing these options must change the stamp, so an old build is not reused by mistake.
options=(
    -release -shared
    -xplatform win32-g++ -device-option CROSS_COMPILE=x86_64-w64-mingw32-
    -qt-host-path /usr
    -nomake examples -nomake tests
    -qt-zlib -qt-pcre -qt-libpng -qt-libjpeg -qt-freetype -qt-harfbuzz
    -no-opengl -no-dbus -no-feature-sql -no-feature-network
    -no-feature-concurrent -no-feature-xml
    # The Debian source lacks the tablet header the Windows platform plugin wants.
    -no-feature-tabletevent
)
# The licence line changes nothing that is built: caches made before it was added stay valid.
digest() { grep -vx '# SPDX-License-Identifier: GPL-3.0-or-later' "$1" | md5sum; }
wanted="qt6-base $version: ${options[*]} $(digest "$toolchain")"

if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$wanted" ]; then
    echo "$prefix"
    exit 0
fi

bash "$(dirname "$0")/debian-source.sh" qt6-base

work="$cache/qt-$version-src"
rm -rf "$work" "$prefix"
mkdir -p "$work"
cd "$work"
echo "Fetching Debian's qt6-base source into $work"
apt-get source -q --download-only qt6-base
dpkg-source --no-check -x qt6-base_*.dsc source > /dev/null
mkdir build
cd build

echo "Configuring Qt $version for Windows (x86_64-w64-mingw32)"
../source/configure -prefix "$prefix" "${options[@]}" -- \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake > configure.log 2>&1 ||
    { tail -40 configure.log; exit 1; }

echo "Building Qt (about a quarter of an hour on two cores)"
cmake --build . --parallel "$(nproc)" > build.log 2>&1 || { tail -40 build.log; exit 1; }
cmake --install . > install.log 2>&1 || { tail -40 install.log; exit 1; }

echo "$wanted" > "$stamp"
cd /
rm -rf "$work"
echo "$prefix"
