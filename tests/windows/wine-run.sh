#!/usr/bin/env bash
# Runs a program of the Windows test build under Wine:
#   wine-run.sh PREFIX PROGRAM.exe [ARGUMENTS...]
# The Wine prefix is $WINEPREFIX if set, else PREFIX; it is made on first use (once, also when
# several tests start at the same moment).
set -euo pipefail
export WINEPREFIX="${WINEPREFIX:-$1}"
shift
# Quiet, and no offer to install Mono or Gecko, which nothing here needs.
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"

if [[ ! -e "$WINEPREFIX/system.reg" ]]; then
    mkdir -p "$(dirname "$WINEPREFIX")"
    (
        flock 9
        [[ -e "$WINEPREFIX/system.reg" ]] || wineboot -i > /dev/null 2>&1
        wineserver -w
    ) 9> "$WINEPREFIX.lock"
fi
exec wine "$@"
