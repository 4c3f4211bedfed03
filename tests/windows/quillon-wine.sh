#!/usr/bin/env bash
# Runs the Windows Quillon.exe under Wine like the Linux program, for the end-to-end cases:
#   QUILLON_WINDOWS_EXE=.../Quillon.exe quillon-wine.sh [Quillon's arguments...]
# The exe runs from a copy in /tmp (in the alsa-vm guest a tmpfs: started from a shared folder, Wine's
# C runtime start-up crashed there under the emulated CPU) with the Wine prefix $WINEPREFIX, else one
# of its own; either is made on first use (making one in the guest takes minutes: better beforehand).
# Arguments that are absolute paths of this machine get Wine's drive Z: (its view of /), or Windows
# would take them for paths relative to the current drive. Quillon runs under RunAndWait.exe
# (QUILLON_RUN_AND_WAIT_EXE, built by test-windows.sh), whose status is the exit code Windows reports
# for Quillon: Wine's own process for a program that used its ALSA MIDI driver often dies with
# SIGSEGV in that driver after the program has ended (status 139 whatever the program returned).
# The caller's PID is the launcher's; windows are found by their titles.
set -euo pipefail
exe="${QUILLON_WINDOWS_EXE:?QUILLON_WINDOWS_EXE is not set}"
launcher="${QUILLON_RUN_AND_WAIT_EXE:?QUILLON_RUN_AND_WAIT_EXE is not set}"
work="${QUILLON_WINE_DIR:-/tmp/quillon-wine}"
export WINEPREFIX="${WINEPREFIX:-$work/prefix}"
# shellcheck source=../lib/wine-env.sh
source "$(dirname "$0")/../lib/wine-env.sh" # WINEDEBUG, WINEDLLOVERRIDES

mkdir -p "$work"
(
    flock 9
    if [[ ! -e "$WINEPREFIX/system.reg" ]]; then
        wineboot -i > /dev/null 2>&1
        wineserver -w
    fi
    cmp -s "$exe" "$work/Quillon.exe" || cp "$exe" "$work/Quillon.exe"
    cmp -s "$launcher" "$work/RunAndWait.exe" || cp "$launcher" "$work/RunAndWait.exe"
) 9> "$work.lock"

args=()
for a in "$@"; do
    [[ "$a" == /* ]] && a="Z:$a"
    args+=("$a")
done
exec wine "$work/RunAndWait.exe" "Z:$work/Quillon.exe" "${args[@]}"
