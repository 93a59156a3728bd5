#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks that the licence is stated where a reader looks for it: LICENSE holds the GPL's text,
# and every source file opens with the SPDX line, in its own comment syntax, on its first
# line (its second after a shebang, an XML declaration or a roff preamble line).
# Usage: check-licence-lines.sh SOURCE_DIR
set -euo pipefail

if [ $# -ne 1 ]; then
    echo "usage: $0 SOURCE_DIR" >&2
    exit 2
fi
cd "$1"
failed=0
fail() { failed=$((failed + 1)); echo "FAILED: $*"; }

if ! head -n 2 LICENSE | grep -q 'GNU GENERAL PUBLIC LICENSE' ||
    ! grep -q '^ *Version 3, 29 June 2007' LICENSE; then
    fail "LICENSE does not hold the text of the GNU GPL, version 3"
fi

# Files whose format has no comments, or that state the licence in their own form: data the
# tests compare byte for byte, prose and the manual's pictures, the licence itself and Debian's
# copyright and changelog.
exempt() {
    case "$1" in
        *.csv | *.md | docs/immagini/*.png | LICENSE | data/linux/deb/copyright | data/linux/deb/changelog.Debian) return 0 ;;
    esac
    return 1
}

# The tracked files when this is a clone; otherwise everything but build folders.
if git rev-parse --is-inside-work-tree > /dev/null 2>&1; then
    list() { git ls-files -z; }
else
    list() { find . -path ./.git -prune -o -path './build*' -prune -o -type f -printf '%P\0'; }
fi

spdx='SPDX-License-Identifier: GPL-3\.0-or-later'
checked=0
while IFS= read -r -d '' file; do
    exempt "$file" && continue
    checked=$((checked + 1))
    line=1
    case "$(head -n 1 "$file")" in
        '#!'* | '<?xml'* | "'\\\""*) line=2 ;;
    esac
    text="$(sed -n "${line}p" "$file")"
    if ! grep -Eq "^(// |# |<!-- |\.\\\\\" )$spdx( -->)?\$" <<< "$text"; then
        fail "$file: line $line is not the SPDX line: $text"
    fi
done < <(list)

echo "$checked files checked, $failed without the SPDX line or the licence"
[ "$checked" -gt 0 ] && [ "$failed" -eq 0 ]
