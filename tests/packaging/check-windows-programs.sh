#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks the Windows programs as Windows sees them before running them: the window programs
# are GUI programs (no console window opens beside them), selvo-batch is a console program,
# each carries its version details with the project's version, and the window programs carry
# the icon.
# Usage: check-windows-programs.sh FOLDER VERSION
set -euo pipefail

if [ $# -ne 2 ]; then
    echo "usage: $0 FOLDER VERSION" >&2
    exit 2
fi
folder=$1
version=$2
command -v wrestool > /dev/null || { echo "wrestool is missing: run scripts/setup.sh windows" >&2; exit 2; }
failed=0
fail() { failed=$((failed + 1)); echo "FAILED: $*"; }

# A little-endian number of $3 bytes at offset $2 of file $1.
number() { od -An -tu"$3" -j"$2" -N"$3" "$1" | tr -d ' '; }

# program, subsystem (2 GUI, 3 console), whether it has an icon
while read -r program subsystem icon; do
    exe="$folder/$program.exe"
    if [ ! -f "$exe" ]; then
        fail "$exe is missing"
        continue
    fi
    # The PE header's offset is at 0x3c; the subsystem follows the 4-byte signature, the
    # 20-byte file header and 68 bytes of the optional header.
    pe=$(number "$exe" 60 4)
    if [ "$(od -An -c -j"$pe" -N2 "$exe" | tr -d ' ')" != PE ]; then
        fail "$program.exe has no PE header"
        continue
    fi
    actual=$(number "$exe" $((pe + 92)) 2)
    [ "$actual" = "$subsystem" ] || fail "$program.exe is of subsystem $actual, not $subsystem"

    resources=$(wrestool -l "$exe" 2>&1 || true)
    details=$(wrestool -x --raw --type=16 "$exe" 2> /dev/null | strings -el || true)
    # The details are UTF-16 strings, each name followed by its value.
    value() { grep -A1 -x "$1" <<< "$details" | sed -n 2p; }
    for field in FileVersion ProductVersion; do
        [ "$(value $field)" = "$version" ] ||
            fail "$program.exe's $field is '$(value $field)', not $version"
    done
    [[ "$(value LegalCopyright)" == *GPL-3.0-or-later* ]] ||
        fail "$program.exe's LegalCopyright '$(value LegalCopyright)' names no GPL-3.0-or-later"
    has_icon=no
    grep -q -- '--type=14 ' <<< "$resources" && has_icon=yes
    [ "$has_icon" = "$icon" ] || fail "$program.exe has an icon: $has_icon, wanted: $icon"
    echo "checked $program.exe"
done << EOF
BrivanSelvo 2 yes
BrivanSelvoStudio 2 yes
Kalvexlib 2 yes
selvo-batch 3 no
EOF

[ "$failed" -eq 0 ]
