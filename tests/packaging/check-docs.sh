#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks the documentation a reader finds first: README.md stays a five-minute read (200 lines
# at most), and every relative link or picture in README.md and docs/*.md leads to a file, and
# every #anchor to a heading of the page it names. Every fault is named, so one run shows all.
# Usage: check-docs.sh SOURCE_DIR
set -euo pipefail

if [ $# -ne 1 ]; then
    echo "usage: $0 SOURCE_DIR" >&2
    exit 2
fi
cd "$1"
failed=0

lines=$(wc -l < README.md)
if [ "$lines" -gt 200 ]; then
    echo "FAILED: README.md has $lines lines, more than 200: move the detail to docs/"
    failed=1
fi

python3 - README.md docs/*.md <<'PY' || failed=1
import os, re, sys

def anchors(path):
    """The anchors GitHub gives a page's headings: lower case, punctuation dropped, blanks to -."""
    found, seen, fenced = set(), {}, False
    for line in open(path, encoding="utf-8"):
        if line.startswith("```"):
            fenced = not fenced
        if fenced or not re.match(r"#{1,6} ", line):
            continue
        text = re.sub(r"[^\w\- ]", "", line.lstrip("#").strip().lower().replace("`", ""))
        slug = text.replace(" ", "-")
        count = seen.get(slug, 0)
        seen[slug] = count + 1
        found.add(slug if count == 0 else f"{slug}-{count}")
    return found

faults = 0
for page in sys.argv[1:]:
    text = re.sub(r"```.*?```", "", open(page, encoding="utf-8").read(), flags=re.S)
    for target in re.findall(r"\]\(([^)\s]+)\)", text):
        if re.match(r"[a-z]+:", target):
            continue  # a web address or mail: not checked offline
        path, _, anchor = target.partition("#")
        file = os.path.normpath(os.path.join(os.path.dirname(page), path)) if path else page
        if not os.path.exists(file):
            print(f"FAILED: {page}: the link {target} leads to no file")
            faults += 1
        elif anchor and file.endswith(".md") and anchor not in anchors(file):
            print(f"FAILED: {page}: the link {target} names no heading of {file}")
            faults += 1
print(f"{len(sys.argv) - 1} pages checked, {faults} broken links")
sys.exit(1 if faults else 0)
PY
echo "README.md: $lines lines"
[ "$failed" -eq 0 ]
