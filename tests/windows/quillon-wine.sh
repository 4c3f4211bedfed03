#!/usr/bin/env bash
# Runs the Windows Quillon.exe under Wine like the Linux program, for the end-to-end cases:
#   QUILLON_WINDOWS_EXE=.../Quillon.exe quillon-wine.sh [Quillon's arguments...]
# The exe runs from a copy in /tmp (in the alsa-vm guest a tmpfs: started from a shared folder, Wine's
# C runtime start-up crashed there under the emulated CPU) with the Wine prefix $WINEPREFIX, else one
# of its own; either is made on first use (making one in the guest takes minutes: better beforehand).
# Arguments that are absolute paths of this machine get Wine's drive Z: (its view of /), or Windows
# would take them for paths relative to the current drive. Wine keeps the process id, so the
# caller's PID is the Windows program's and its exit status is Quillon's.
set -euo pipefail
exe="${QUILLON_WINDOWS_EXE:?QUILLON_WINDOWS_EXE is not set}"
work="${QUILLON_WINE_DIR:-/tmp/quillon-wine}"
export WINEPREFIX="${WINEPREFIX:-$work/prefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"

mkdir -p "$work"
(
    flock 9
    if [[ ! -e "$WINEPREFIX/system.reg" ]]; then
        wineboot -i > /dev/null 2>&1
        wineserver -w
    fi
    cmp -s "$exe" "$work/Quillon.exe" || cp "$exe" "$work/Quillon.exe"
) 9> "$work.lock"

args=()
for a in "$@"; do
    [[ "$a" == /* ]] && a="Z:$a"
    args+=("$a")
done
exec wine "$work/Quillon.exe" "${args[@]}"
