#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Cross-builds ReadStat's SPSS data file writer (libreadstat.a and readstat.h) for 64-bit
# Windows with Debian's MinGW-w64, from Debian's own readstat source package, once per machine.
# The result is cached outside the source tree; a later call finds it and does nothing. A
# static library: selvo-batch.exe then needs no DLL of it, and the installer ships its licence.
#
#   scripts/build-windows-readstat.sh          prints the install prefix on its last line
#
# SELVO_QT_CACHE chooses the cache folder (default ~/.cache/brivanselvo).
set -euo pipefail

here="$(cd "$(dirname "$0")/.." && pwd)"
toolchain="$here/cmake/mingw-w64-x86_64.cmake"
project="$here/cmake/readstat-windows"
cache="${SELVO_QT_CACHE:-$HOME/.cache/brivanselvo}"
prefix="$cache/readstat-mingw64"
stamp="$prefix/.built-by-brivanselvo"

options=(-DCMAKE_BUILD_TYPE=Release)
wanted="readstat: ${options[*]} $(md5sum < "$toolchain")"
wanted+=" $(cat "$project/CMakeLists.txt" "$project/iconv/iconv.h" | md5sum)"

if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$wanted" ]; then
    echo "$prefix"
    exit 0
fi

bash "$here/scripts/debian-source.sh" readstat

work="$cache/readstat-src"
rm -rf "$work" "$prefix"
mkdir -p "$work"
cd "$work"
echo "Fetching Debian's readstat source into $work"
# Debian's archive does not always serve the source of the machine's own release; the upstream
# tarball of the next stable release (the same writer) is taken then, fetched and checked by
# apt against that release's signed source index, in an apt state of our own.
if ! apt-get source -q --download-only readstat > fetch.log 2>&1 ||
    ! ls readstat_*.orig.tar.* > /dev/null 2>&1; then
    archive="$(apt-get indextargets --format '$(REPO_URI) $(RELEASE) $(TARGET_OF)' |
        awk '$3 == "deb-src" && $2 !~ /-/ { print $1; exit }')"
    state="$work/apt"
    mkdir -p "$state/lists/partial"
    echo "deb-src $archive trixie main" > "$state/sources.list"
    apt=(-o Dir::Etc::sourcelist="$state/sources.list" -o Dir::Etc::sourceparts=/nonexistent
        -o Dir::State::lists="$state/lists")
    apt-get "${apt[@]}" update -q >> fetch.log 2>&1
    apt-get "${apt[@]}" source -q --download-only readstat/trixie >> fetch.log 2>&1 || true
fi
tarball="$(ls readstat_*.orig.tar.* 2> /dev/null | head -n 1)"
if [ -z "$tarball" ]; then
    cat fetch.log
    echo "build-windows-readstat: Debian's readstat source could not be fetched" >&2
    exit 1
fi
mkdir source
tar -xf "$tarball" -C source --strip-components=1
version="${tarball#readstat_}"
version="${version%.orig.tar.*}"

echo "Building ReadStat $version's writer for Windows (x86_64-w64-mingw32)"
cmake -S "$project" -B build "${options[@]}" \
    -DREADSTAT_SOURCE_DIR="$work/source" \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_INSTALL_PREFIX="$prefix" \
    > configure.log 2>&1 || { tail -40 configure.log; exit 1; }
cmake --build build --parallel "$(nproc)" > build.log 2>&1 || { tail -40 build.log; exit 1; }
cmake --install build > install.log 2>&1 || { tail -40 install.log; exit 1; }

echo "$wanted" > "$stamp"
echo "readstat $version" > "$prefix/.version"
cd /
rm -rf "$work"
echo "$prefix"
