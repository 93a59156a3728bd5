#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# `cmake --install` of a built tree into a fresh folder, then the installed-tree checks on it.
# Usage: check-install-tree.sh BUILD_DIR VERSION
set -euo pipefail

if [ $# -ne 2 ]; then
    echo "usage: $0 BUILD_DIR VERSION" >&2
    exit 2
fi
build_dir=$1
version=$2
prefix=$(mktemp -d "${TMPDIR:-/tmp}/selvo-install-XXXXXX")
trap 'rm -rf "$prefix"' EXIT

# A group-writable umask, common for desktop users, must not make installed folders
# group-writable.
(umask 002 && cmake --install "$build_dir" --prefix "$prefix" > /dev/null)
bash "$(dirname "$0")/check-tree.sh" "$prefix" "$version"
