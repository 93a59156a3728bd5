#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs the Windows build's tests under Wine, then compares its outputs with the Linux build's:
#   scripts/test-windows.sh BUILD_FOLDER
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build-windows}"

# Making the Wine prefix takes a while; it is done once, before the tests start together.
scripts/wine-run.sh "$PWD/$build/wineprefix" cmd /c exit
# Now and then Wine loses a test program's connection to its server ("wine client error"), a
# fault of Wine's and not of the test: a test that fails is run once more.
(cd "$build" && ctest --output-on-failure -j "$(nproc)" --repeat until-pass:2)

# The same subjects through the Linux and the Windows selvo-batch: every byte must agree.
linux_build="${LINUX_BUILD:-build}"
cmake -S . -B "$linux_build" -DCMAKE_BUILD_TYPE=Debug > /dev/null
cmake --build "$linux_build" --target selvo-batch -j "$(nproc)" > /dev/null
bash scripts/compare-windows-outputs.sh "$linux_build/bin/selvo-batch" "$build"
