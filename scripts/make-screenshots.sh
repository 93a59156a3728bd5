#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Takes the pictures of the Italian manual (docs/manuale.md) from the real programs, on a virtual
# display of 1366 x 768: a scripted sitting of BrivanSelvo (tests/screenshots/ScreenshotDriver.cpp)
# from the title window to the profile, then Kalvexlib's window. The PNG files are made smaller
# with optipng, without loss. Exits non-zero when a picture is missing.
#   make-screenshots.sh BUILD_FOLDER OUTPUT_FOLDER
#   (docs/immagini is the folder the manual shows; CI writes into a temporary one)
set -euo pipefail

if [ $# -ne 2 ]; then
    echo "usage: $0 BUILD_FOLDER OUTPUT_FOLDER" >&2
    exit 2
fi
build=$(cd "$1" && pwd)
mkdir -p "$2"
out=$(cd "$2" && pwd)
for program in "$build/bin/selvo-screenshots" "$build/bin/Kalvexlib"; do
    if [ ! -x "$program" ]; then
        echo "$program is missing: build the project first (cmake --build $1)" >&2
        exit 2
    fi
done
for tool in xvfb-run optipng; do
    if ! command -v "$tool" > /dev/null; then
        echo "$tool is missing: run scripts/setup.sh" >&2
        exit 2
    fi
done

# A user of its own: no remembered folder, no interrupted administration, no desktop settings;
# the subject's files go into the folder the program starts in.
work=$(mktemp -d "${TMPDIR:-/tmp}/sv.XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/home/Documenti/SELVO"
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_DATA_HOME="$work/home/.local/share"
export XDG_RUNTIME_DIR="$work/home/run" LANG=C.UTF-8 LC_ALL= QT_QPA_PLATFORM=xcb
mkdir -m 0700 -p "$XDG_RUNTIME_DIR"
unset DISPLAY WAYLAND_DISPLAY SOURCE_DATE_EPOCH

# One display for both programs: -br keeps the bare screen black, which the driver crops away.
(cd "$work/home/Documenti/SELVO" && xvfb-run -a -s "-screen 0 1366x768x24 -br -nolisten tcp" bash -c '
    set -euo pipefail
    "$1/bin/selvo-screenshots" "$2"
    "$1/bin/Kalvexlib" & kalvexlib=$!
    "$1/bin/selvo-screenshots" --screen "$2/09-kalvexlib.png"
    kill "$kalvexlib" 2> /dev/null || true
    wait "$kalvexlib" 2> /dev/null || true
' screenshots "$build" "$out")

expected=(01-titolo 02-menu-principale 03-avvertenze 04-primo-item 05-item-sofferenza
    06-ultimo-item 07-scheda-soggetto 08-profilo 09-kalvexlib)
missing=0
for name in "${expected[@]}"; do
    file="$out/$name.png"
    if [ ! -s "$file" ]; then
        echo "FAILED: $file was not made" >&2
        missing=$((missing + 1))
        continue
    fi
    optipng -quiet -o2 -strip all "$file"
    echo "$file: $(($(stat -c %s "$file") / 1024)) KiB"
done
[ "$missing" -eq 0 ]
