#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Makes `apt-get source PACKAGE` work on this machine: adds a deb-src entry for the Debian
# archive the machine already uses when there is none. Used by the Windows builds of Qt and
# QCustomPlot, which are made from Debian's own source packages.
#   scripts/debian-source.sh PACKAGE
set -euo pipefail
package="$1"
if apt-get source --print-uris "$package" > /dev/null 2>&1; then
    exit 0
fi
sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi
echo "Adding a deb-src entry for the Debian archive this machine uses"
sources=/etc/apt/sources.list.d/debian.sources
if [ -f "$sources" ]; then
    sed -e 's/^Types: deb$/Types: deb-src/' "$sources" |
        $sudo tee /etc/apt/sources.list.d/brivanselvo-src.sources > /dev/null
else
    grep '^deb ' /etc/apt/sources.list | sed -e 's/^deb /deb-src /' |
        $sudo tee /etc/apt/sources.list.d/brivanselvo-src.list > /dev/null
fi
$sudo apt-get update -q
