#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Windows installer and checks it as a user meets it: installed silently under Wine
# into a fresh prefix, the installed selvo-batch.exe writes the same three files as the Linux
# build for a subject, BrivanSelvo.exe starts, Kalvexlib.exe starts and ends on its button, and
# the uninstaller removes the programs.
#   scripts/check-windows-installer.sh WINDOWS_BUILD LINUX_SELVO_BATCH
set -euo pipefail
cd "$(dirname "$0")/.."
here="$PWD"
build="$(realpath "$1")"
linux_batch="$(realpath "$2")"

(cd "$build" && cpack -G NSIS > cpack.log 2>&1) || { tail -30 "$build/cpack.log"; exit 1; }
installer="$(ls "$build"/BrivanSelvo-*-win64.exe)"
echo "check-windows-installer: built $(basename "$installer")"

work="$(mktemp -d)"
prefix="$work/wineprefix"
cleanup() {
    WINEPREFIX="$prefix" wineserver -k > /dev/null 2>&1 || true
    rm -rf "$work"
}
trap cleanup EXIT
run() { "$here/scripts/wine-run.sh" "$prefix" "$@"; }

run "$installer" /S '/D=C:\BrivanSelvo'
installed="$prefix/drive_c/BrivanSelvo"
for file in BrivanSelvo.exe selvo-batch.exe Kalvexlib.exe Qt6Core.dll Qt6PrintSupport.dll \
    QCustomPlotQt6.dll platforms/qwindows.dll translations/qtbase_it.qm Uninstall.exe; do
    [ -f "$installed/$file" ] || { echo "check-windows-installer: $file not installed" >&2; exit 1; }
done
links="$(find "$prefix/drive_c" -path '*Start Menu*' -name '*.lnk' | wc -l)"
for program in BrivanSelvo Kalvexlib; do
    [ -n "$(find "$prefix/drive_c" -path '*Start Menu*' -name "$program.lnk")" ] ||
        { echo "check-windows-installer: no Start-menu entry for $program" >&2; exit 1; }
done
echo "check-windows-installer: installed silently, with $links Start-menu entries"

# The installed selvo-batch.exe and the Linux build write the same bytes.
export SOURCE_DATE_EPOCH=1796000000
mkdir -p "$work/linux" "$work/windows"
cp tests/windows/subjects/Niccolò.csv "$work/linux/"
cp tests/windows/subjects/Niccolò.csv "$work/windows/"
(cd "$work/linux" && "$linux_batch" Niccolò.csv > /dev/null 2>&1)
(cd "$work/windows" && run 'C:\BrivanSelvo\selvo-batch.exe' Niccolò.csv > /dev/null 2>&1)
diff -r "$work/linux" "$work/windows"
echo "check-windows-installer: the installed selvo-batch.exe wrote the Linux build's files"

# The window program starts on Windows' own platform plugin, on a virtual display, and keeps
# running until it is stopped.
status=0
xvfb-run -a timeout 20 "$here/scripts/wine-run.sh" "$prefix" 'C:\BrivanSelvo\BrivanSelvo.exe' \
    > /dev/null 2>&1 || status=$?
[ "$status" -eq 124 ] || { echo "check-windows-installer: BrivanSelvo.exe ended ($status)" >&2; exit 1; }
echo "check-windows-installer: the installed BrivanSelvo.exe starts"

# Kalvexlib.exe, on a virtual display, ends with status 0 when its button is clicked.
"$here/scripts/click-kalvexlib-windows.sh" "$prefix" 'C:\BrivanSelvo\Kalvexlib.exe'
echo "check-windows-installer: the installed Kalvexlib.exe starts and ends on its button"

run 'C:\BrivanSelvo\Uninstall.exe' /S
sleep 3 # the uninstaller finishes from a copy of itself
for program in BrivanSelvo.exe Kalvexlib.exe; do
    [ ! -f "$installed/$program" ] ||
        { echo "check-windows-installer: uninstall left $program" >&2; exit 1; }
done
echo "check-windows-installer: the uninstaller removed the programs"
