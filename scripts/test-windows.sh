#!/usr/bin/env bash
# Runs the Windows build's tests under Wine, then compares its outputs with the Linux build's:
#   scripts/test-windows.sh BUILD_FOLDER
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build-windows}"

# Making the Wine prefix takes a while; it is done once, before the tests start together.
scripts/wine-run.sh "$PWD/$build/wineprefix" cmd /c exit
(cd "$build" && ctest --output-on-failure -j "$(nproc)")
