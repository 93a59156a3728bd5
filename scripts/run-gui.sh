#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Starts a window program on the desktop; on a machine without one, inside a virtual display.
set -euo pipefail
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    exec "$@"
fi
echo "No desktop display found: starting inside a virtual display (xvfb-run)." >&2
exec xvfb-run -a "$@"
