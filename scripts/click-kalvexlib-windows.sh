#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Starts Kalvexlib.exe under Wine on a virtual display of its own, clicks its button
# "Librerie Installate" as a user would, and checks that the program then ends with status 0:
#   scripts/click-kalvexlib-windows.sh WINEPREFIX PROGRAM
# PROGRAM is the program's path, in Linux or Windows form.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"

if [ -z "${SELVO_ON_XVFB:-}" ]; then
    exec env SELVO_ON_XVFB=1 xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" "$@"
fi
prefix="$(realpath -m "$1")"
program="$2"
fail() {
    echo "click-kalvexlib-windows: $*" >&2
    exit 1
}

# Wine's desktop process keeps the display of the program that started it while any program
# of the prefix runs; a program started earlier without a display would leave this one none.
if [ -d "$prefix" ]; then
    WINEPREFIX="$prefix" wineserver --wait || true
fi

"$here/scripts/wine-run.sh" "$prefix" "$program" &
pid=$!
stop() {
    kill "$pid" 2> /dev/null || true
}
trap stop EXIT

# Wine starts slowly; the window appears once the program has loaded its DLLs, unless the
# program ends first (a DLL missing, say).
window=""
for _ in $(seq 240); do
    window="$(xdotool search --onlyvisible --name '^Kalvexlib$' 2> /dev/null | head -n 1)" || true
    [ -n "$window" ] && break
    kill -0 "$pid" 2> /dev/null || fail "Kalvexlib ended before showing its window"
    sleep 0.5
done
[ -n "$window" ] || fail "no Kalvexlib window appeared"
sleep 1
# The button's centre, in the window's own coordinates (it spans 232-345 by 8-41).
xdotool mousemove --window "$window" 288 24
sleep 0.3
xdotool click 1

for _ in $(seq 150); do
    kill -0 "$pid" 2> /dev/null || break
    sleep 0.2
done
kill -0 "$pid" 2> /dev/null && fail "Kalvexlib did not end on its button"
status=0
wait "$pid" || status=$?
trap - EXIT
[ "$status" -eq 0 ] || fail "Kalvexlib ended with status $status"
echo "click-kalvexlib-windows: Kalvexlib ended on its button, with status 0"
