#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Windows installer and checks it as a user meets it: installed silently under Wine
# into a fresh prefix with every licence text and Start-menu entries that start in the user's
# folder, the installed selvo-batch.exe writes the same three files as the Linux build for a
# subject, BrivanSelvo.exe and BrivanSelvoStudio.exe start, Kalvexlib.exe starts and ends on its
# button, and the uninstaller removes the programs.
#   scripts/check-windows-installer.sh WINDOWS_BUILD LINUX_SELVO_BATCH
set -euo pipefail
cd "$(dirname "$0")/.."
here="$PWD"
build="$(realpath "$1")"
linux_batch="$(realpath "$2")"

(cd "$build" && cpack -G NSIS > cpack.log 2>&1) || { tail -30 "$build/cpack.log"; exit 1; }
installer="$(ls "$build"/BrivanSelvo-*-win64.exe)"
echo "check-windows-installer: built $(basename "$installer")"

# The script NSIS compiled: Italian only, the GPL on the licence page, and no offer on the last
# page to start BrivanSelvo with the installer's administrator rights.
nsi="$build/_CPack_Packages/win64/NSIS/project.nsi"
[ "$(grep -c '!insertmacro MUI_LANGUAGE' "$nsi")" = 1 ] && grep -q 'MUI_LANGUAGE "Italian"' "$nsi" ||
    { echo "check-windows-installer: the installer is not in Italian only" >&2; exit 1; }
grep -q 'MUI_PAGE_LICENSE ".*/LICENSE"' "$nsi" ||
    { echo "check-windows-installer: the licence page does not show LICENSE" >&2; exit 1; }
! grep -q 'MUI_FINISHPAGE_RUN' "$nsi" ||
    { echo "check-windows-installer: the last page offers to start a program" >&2; exit 1; }

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
for file in BrivanSelvo.exe BrivanSelvoStudio.exe selvo-batch.exe Kalvexlib.exe Qt6Core.dll Qt6PrintSupport.dll \
    QCustomPlotQt6.dll platforms/qwindows.dll translations/qtbase_it.qm Uninstall.exe; do
    [ -f "$installed/$file" ] || { echo "check-windows-installer: $file not installed" >&2; exit 1; }
done
links="$(find "$prefix/drive_c" -path '*Start Menu*' -name '*.lnk' | wc -l)"
for program in BrivanSelvo "BrivanSelvo - Studio" Kalvexlib; do
    [ -n "$(find "$prefix/drive_c" -path '*Start Menu*' -name "$program.lnk")" ] ||
        { echo "check-windows-installer: no Start-menu entry for $program" >&2; exit 1; }
done
echo "check-windows-installer: installed silently, with $links Start-menu entries"

# The licence of every part installed, each file holding what its name promises.
while IFS='|' read -r name words; do
    grep -qF "$words" "$installed/licenses/$name" 2> /dev/null ||
        { echo "check-windows-installer: licenses/$name missing or without '$words'" >&2; exit 1; }
done << 'LICENCES'
BrivanSelvo-GPL.txt|GNU GENERAL PUBLIC LICENSE
QCustomPlot-GPL.txt|GNU GENERAL PUBLIC LICENSE
Qt-LGPL-3.txt|GNU LESSER GENERAL PUBLIC LICENSE
Qt-copyright.txt|Files: src/3rdparty/
GCC-runtime-library-exception.txt|GCC RUNTIME LIBRARY EXCEPTION
MinGW-w64-copyright.txt|winpthreads
LICENCES
echo "check-windows-installer: the licence texts are installed"

# A Start-menu entry must not start its program in the installation folder, where it would
# write its files. The working folder is read from the shortcut (Shell Link format: a header,
# the optional target ID list and link information, then counted strings: name, relative path,
# working folder).
working_folder() {
    python3 - "$1" << 'PY'
import struct, sys
data = open(sys.argv[1], "rb").read()
flags = struct.unpack_from("<I", data, 0x14)[0]
at = 0x4C
if flags & 0x01:
    at += 2 + struct.unpack_from("<H", data, at)[0]
if flags & 0x02:
    at += struct.unpack_from("<I", data, at)[0]
width = 2 if flags & 0x80 else 1
for bit in (0x04, 0x08, 0x10):
    if flags & bit:
        count = struct.unpack_from("<H", data, at)[0]
        text = data[at + 2 : at + 2 + count * width]
        at += 2 + count * width
        if bit == 0x10:
            # Wine counts the terminating null too; Windows does not.
            print(text.decode("utf-16-le" if width == 2 else "cp1252").rstrip("\0"))
PY
}
for program in BrivanSelvo "BrivanSelvo - Studio" Kalvexlib; do
    folder="$(working_folder "$(find "$prefix/drive_c" -path '*Start Menu*' -name "$program.lnk")")"
    [ "$folder" = '%USERPROFILE%' ] || {
        echo "check-windows-installer: $program.lnk starts in '$folder', not %USERPROFILE%" >&2
        exit 1
    }
done
echo "check-windows-installer: the Start-menu entries start in the user's folder"

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
for program in BrivanSelvo BrivanSelvoStudio; do
    status=0
    xvfb-run -a timeout 20 "$here/scripts/wine-run.sh" "$prefix" "C:\\BrivanSelvo\\$program.exe" \
        > /dev/null 2>&1 || status=$?
    [ "$status" -eq 124 ] ||
        { echo "check-windows-installer: $program.exe ended ($status)" >&2; exit 1; }
    echo "check-windows-installer: the installed $program.exe starts"
done

# Kalvexlib.exe, on a virtual display, ends with status 0 when its button is clicked.
"$here/scripts/click-kalvexlib-windows.sh" "$prefix" 'C:\BrivanSelvo\Kalvexlib.exe'
echo "check-windows-installer: the installed Kalvexlib.exe starts and ends on its button"

run 'C:\BrivanSelvo\Uninstall.exe' /S
sleep 3 # the uninstaller finishes from a copy of itself
for program in BrivanSelvo.exe BrivanSelvoStudio.exe Kalvexlib.exe; do
    [ ! -f "$installed/$program" ] ||
        { echo "check-windows-installer: uninstall left $program" >&2; exit 1; }
done
echo "check-windows-installer: the uninstaller removed the programs"
