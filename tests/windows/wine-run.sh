#!/usr/bin/env bash
# Runs a program of the Windows test build under Wine:
#   wine-run.sh PREFIX PROGRAM.exe [ARGUMENTS...]
# The Wine prefix is $WINEPREFIX if set, else PREFIX; it is made on first use (once, also when
# several tests start at the same moment), with windows that no window manager has to handle.
set -euo pipefail
export WINEPREFIX="${WINEPREFIX:-$1}"
shift
# shellcheck source=../lib/wine-env.sh
source "$(dirname "$0")/../lib/wine-env.sh" # WINEDEBUG, WINEDLLOVERRIDES

# Xvfb has no window manager, and Wine waits up to 2 s for one to withdraw each window it hides
# ("wait_for_withdrawn_state ... wait timed out"): a test that closes five windows took 10 s more.
# Unmanaged windows (Wine's X11 driver "Managed"="N") are hidden at once.
if [[ ! -e "$WINEPREFIX/system.reg" ]] || ! grep -q '^"Managed"="N"' "$WINEPREFIX/user.reg"; then
    mkdir -p "$(dirname "$WINEPREFIX")"
    (
        flock 9
        [[ -e "$WINEPREFIX/system.reg" ]] || wineboot -i > /dev/null 2>&1
        grep -q '^"Managed"="N"' "$WINEPREFIX/user.reg" ||
            wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f > /dev/null 2>&1
        wineserver -w
    ) 9> "$WINEPREFIX.lock"
fi
exec wine "$@"
