#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Cross-builds BrivanSelvo, selvo-batch, Kalvexlib and their tests for 64-bit Windows, against
# the Qt, QCustomPlot and ReadStat built for it once per machine:
#   scripts/build-windows.sh BUILD_FOLDER
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build-windows}"

qt="$(bash scripts/build-windows-qt.sh | tail -n 1)"
qcustomplot="$(bash scripts/build-windows-qcustomplot.sh | tail -n 1)"
readstat="$(bash scripts/build-windows-readstat.sh | tail -n 1)"
cmake -S . -B "$build" \
    -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_PREFIX_PATH="$qt;$qcustomplot;$readstat" \
    -DCMAKE_FIND_ROOT_PATH="$qt;$qcustomplot;$readstat" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake > /dev/null
cmake --build "$build" -j "$(nproc)"
