#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a Windows program of the build under Wine: wine-run.sh PREFIX PROGRAM [ARGS...].
# The prefix is made on first use; Wine's own chatter is silenced so a test sees only the
# program's output.
set -euo pipefail
export WINEPREFIX="$1"
shift
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
# Tests start in parallel: one of them makes the prefix while the others wait.
mkdir -p "$WINEPREFIX"
(
    flock 9
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        wineboot --init > /dev/null 2>&1 || true
        wineserver --wait || true
    fi
) 9> "$WINEPREFIX/.init-lock"
exec wine "$@"
