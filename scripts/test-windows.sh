#!/usr/bin/env bash
# Tests of the Windows build under Wine (on Xvfb):
#   test-windows.sh              builds (build-windows.sh --tests) and runs the unit tests; the
#                                ones tests/windows/excluded-tests.txt names are left out
#   test-windows.sh --installer  installs Quillon-Setup-VERSION.exe silently (/S) into a new Wine
#                                prefix, starts the installed Quillon.exe until its titled window
#                                shows, closes it, uninstalls silently and checks that all is gone
#   test-windows.sh --alsa       in the alsa-vm guest, Quillon.exe --autoupdate --outputid N --file
#                                FILE under Wine sends the 40-message image through "VirMIDI 0-0" to
#                                the paced receiver byte for byte (exit 0); a damaged image and a
#                                missing file send nothing (exit 2 once the window is closed); without
#                                an X server it says so and ends (exit 1); no case may crash
#   test-windows.sh --all        all three, in that order
# Each step prints its time; the first failure ends the script with a non-zero status.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
# shellcheck source=../tests/lib/xvfb.sh
source "$root/tests/lib/xvfb.sh" # start_xvfb, wait_until
# shellcheck source=../tests/lib/layout.sh
source "$root/tests/lib/layout.sh" # main_width, main_height

steps=()
case "${1:-}" in
    "") steps=(unit) ;;
    --installer) steps=(installer) ;;
    --alsa) steps=(alsa) ;;
    --all) steps=(unit installer alsa) ;;
    *) echo "usage: test-windows.sh [--installer | --alsa | --all]" >&2; exit 2 ;;
esac

"$root/scripts/install-deps.sh" wine wine64 xvfb xauth xdotool x11-utils imagemagick

export WINEDEBUG="${WINEDEBUG:--all}"
# Nothing here needs Mono or Gecko: no offer to install them.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"

log() { echo "test-windows.sh: $*"; }
fail() {
    echo "test-windows.sh: FAIL: $*" >&2
    exit 1
}

now_ms() { date +%s%3N; }

release="$root/build/windows-release"
version="$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$release/CMakeCache.txt" 2> /dev/null || true)"

build() {
    local start=$SECONDS
    "$root/scripts/build-windows.sh" "$@"
    version="$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$release/CMakeCache.txt")"
    log "Windows build: $((SECONDS - start)) s"
}

# ------------------------------------------------------------------ unit tests
unit_tests() {
    build --tests
    local list="$root/tests/windows/excluded-tests.txt" names exclude=()
    # Entries that name tests (not source files) are left out by name.
    names="$(grep -v '^#' "$list" | grep -v '\.cpp *|' | sed 's/ *|.*//' | paste -sd'|' || true)"
    [[ -n "$names" ]] && exclude=(--exclude-regex "^($names)\$")
    log "unit tests under Wine ($(grep -c -v '^#' "$list") exclusions, with reasons, in tests/windows/excluded-tests.txt)"
    local start=$SECONDS
    # Display numbers from 150 up: test.sh's xvfb-run, which may be starting at the same moment (CI
    # runs two lanes), looks from 99 up.
    xvfb-run -a -n 150 -s "-screen 0 1280x1024x24" \
        ctest --test-dir "$root/build/windows-tests" --output-on-failure --parallel 2 "${exclude[@]}"
    log "unit tests: $((SECONDS - start)) s"
}

# ------------------------------------------------------------------ installer
installer_test() {
    build
    local setup="$release/Quillon-Setup-$version.exe" work="$root/build/windows-installer-test"
    [[ -f "$setup" ]] || fail "no installer at $setup"
    rm -rf "$work"
    mkdir -p "$work"
    export WINEPREFIX="$work/prefix"

    xvfb_pid=""
    cleanup() {
        [[ -n "${WINEPREFIX:-}" ]] && wineserver -k 2> /dev/null
        kill "${xvfb_pid:-}" 2> /dev/null || true
    }
    trap cleanup EXIT
    start_xvfb "$work" 1024x768 30 || fail "Xvfb did not start"

    local start=$SECONDS
    wineboot -i > /dev/null 2>&1
    # Unmanaged windows, as in the unit tests (tests/windows/wine-run.sh): without a window manager
    # Wine otherwise waits 2 s for each window it hides when the program closes.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f > /dev/null 2>&1
    wineserver -w
    log "new Wine prefix: $((SECONDS - start)) s"

    # The installer and the uninstaller end before "wineserver -w" returns: it waits for every
    # process of the prefix.
    start=$SECONDS
    wine "$setup" /S
    wineserver -w
    log "silent install: $((SECONDS - start)) s"
    local dir="$WINEPREFIX/drive_c/Program Files/Quillon" link
    for f in Quillon.exe Uninstall.exe Quillon.ico; do
        [[ -f "$dir/$f" ]] || fail "the installer did not put $f in Program Files\\Quillon: $(ls "$dir" 2>&1)"
    done
    cmp -s "$dir/Quillon.exe" "$release/Quillon_artefacts/Release/Quillon.exe" ||
        fail "the installed Quillon.exe is not the one built"
    link="$(find "$WINEPREFIX/drive_c" -path '*Start Menu/Programs/Quillon.lnk' | head -n1)"
    [[ -n "$link" ]] || fail "no Start-menu entry Quillon.lnk"
    grep -q 'CurrentVersion\\\\Uninstall\\\\Quillon\]' "$WINEPREFIX/system.reg" ||
        fail "no uninstaller registered under ...\\CurrentVersion\\Uninstall\\Quillon"
    grep -A12 'CurrentVersion\\\\Uninstall\\\\Quillon\]' "$WINEPREFIX/system.reg" |
        grep -q "\"DisplayVersion\"=\"$version\"" || fail "the registered uninstaller does not name version $version"
    log "installed: Program Files\\Quillon (exe, uninstaller, icon), $(basename "$link") in the Start menu, Apps & features entry $version"

    # The installed program shows its main window at its size, titled "PRODUCT version FIRMWARE"
    # (xdotool --sync waits for it to be mapped).
    local started window size
    started="$(now_ms)"
    wine "C:\\Program Files\\Quillon\\Quillon.exe" > "$work/app.log" 2>&1 &
    window="$(timeout 120 xdotool search --sync --onlyvisible --name ' version [0-9]' | head -n1)" ||
        fail "the installed Quillon.exe showed no titled main window: $(grep -v '^ALSA lib' "$work/app.log" | tail -n 20)"
    # Wine may map the window before it takes its size.
    window_size() { xwininfo -id "$window" | awk '/Width:/ { w = $2 } /Height:/ { h = $2 } END { print w "x" h }'; }
    size="${main_width}x$main_height"
    has_its_size() { [[ "$(window_size)" == "$size" ]]; }
    wait_until 30 has_its_size || fail "the main window is $(window_size), not $size"
    log "the installed Quillon.exe shows its window \"$(xdotool getwindowname "$window")\" ($size)" \
        "$(($(now_ms) - started)) ms after wine started it"
    import -window root "$work/window.png"

    # Close it the way Windows does (WM_CLOSE to its window), then uninstall.
    wine taskkill /im Quillon.exe > /dev/null 2>&1 || true
    timeout 60 wineserver -w || fail "Quillon.exe did not end after WM_CLOSE"

    start=$SECONDS
    wine "$dir/Uninstall.exe" /S
    wineserver -w
    log "silent uninstall: $((SECONDS - start)) s"
    [[ ! -e "$dir" ]] || fail "the uninstaller left $(ls -A "$dir" | tr '\n' ' ') in Program Files\\Quillon"
    [[ ! -e "$link" ]] || fail "the uninstaller left the Start-menu entry"
    ! grep -q 'CurrentVersion\\\\Uninstall\\\\Quillon\]' "$WINEPREFIX/system.reg" ||
        fail "the uninstaller left its Apps & features entry"
    log "uninstalled: folder, Start-menu entry and Apps & features entry are gone"
    unset WINEPREFIX
}

# ------------------------------------------------------------------ ALSA guest
alsa_test() {
    build
    # The paced receiver and the test tool are Linux programs of the suite's Debug build.
    "$root/scripts/install-deps.sh"
    # (The suite's own Debug build: the same folder and configuration as test.sh's.)
    "$root/scripts/build.sh" "$root/build/debug" Debug -DQUILLON_WARNINGS_AS_ERRORS=ON
    local out="$root/build/windows-e2e" start=$SECONDS rc=0
    mkdir -p "$out"
    # The launcher that reports Quillon's Windows exit code (tests/windows/RunAndWait.cpp says why).
    x86_64-w64-mingw32-g++-posix -O2 -static -o "$out/RunAndWait.exe" "$root/tests/windows/RunAndWait.cpp" -lshell32
    # The Wine prefix is made here: in the guest (one CPU, every system call a round trip to
    # this machine) that takes minutes. Wine starts in tens of seconds there even so.
    export WINEPREFIX="$out/wine-prefix"
    if [[ ! -e "$WINEPREFIX/system.reg" ]] || ! grep -q '^"Managed"="N"' "$WINEPREFIX/user.reg"; then
        [[ -e "$WINEPREFIX/system.reg" ]] || wineboot -i > /dev/null 2>&1
        # Unmanaged windows, as in the other Wine tests: the guest's Xvfb has no window manager.
        wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f > /dev/null 2>&1
        wineserver -w
    fi
    # The launcher must not pass a crash off as a status: an access violation's exit code
    # (0xC0000005) cut to Wine's 8 bits reads as 5, "another instance is running".
    echo 'int main() { volatile int* p = nullptr; return *p; }' > "$out/crash.cpp"
    x86_64-w64-mingw32-g++-posix -O0 -static -o "$out/Crash.exe" "$out/crash.cpp"
    rc=0
    wine "$out/RunAndWait.exe" "Z:$out/Crash.exe" > "$out/crash.log" 2>&1 || rc=$?
    # (The guest uses the prefix next: this machine's wineserver must have written it back.)
    wineserver -w
    if [[ $rc -ne 255 ]] || ! grep -q "exit code 0xC0000005" "$out/crash.log"; then
        fail "RunAndWait.exe reported a crashing program's end as status $rc: $(grep RunAndWait "$out/crash.log")"
    fi
    rc=0
    local run=(bash "$root/tests/e2e/alsa-e2e.sh" CASE --app "$root/tests/windows/quillon-wine.sh"
        --receiver "$root/build/debug/tests/PacedMidiReceiver" --tool "$root/build/debug/tests/QuillonE2eTool")
    # One wineserver for all Wine processes of the run (-p: it stays between them).
    "$root/scripts/in-alsa-vm.sh" --timeout 1500 -- env QUILLON_ALSA_REQUIRED=1 \
        QUILLON_E2E_START_SECONDS=300 QUILLON_E2E_NO_REPAINTS=1 QUILLON_WINDOWS_EXE="$release/Quillon_artefacts/Release/Quillon.exe" \
        QUILLON_RUN_AND_WAIT_EXE="$out/RunAndWait.exe" bash -c 'wineserver -p; rc=0
                 "${@/#CASE/autoupdate_file}" --out "'"$out"'/autoupdate_file" || rc=1
                 "${@/#CASE/damaged_file}" --out "'"$out"'/damaged_file" || rc=1
                 "${@/#CASE/missing_file}" --out "'"$out"'/missing_file" || rc=1
                 "${@/#CASE/no_display}" --out "'"$out"'/no_display" || rc=1
                 wineserver -k; exit $rc' \
        _ "${run[@]}" || rc=$?
    unset WINEPREFIX
    [[ $rc -ne 75 ]] || fail "there is no alsa-vm guest to run the Wine MIDI cases in"
    [[ $rc -eq 0 ]] || fail "the Wine MIDI cases failed (status $rc; logs in $out)"
    log "Wine MIDI cases in the alsa-vm guest (autoupdate_file, damaged_file, missing_file, no_display): passed in $((SECONDS - start)) s"
}

total=$SECONDS
for step in "${steps[@]}"; do
    case "$step" in
        unit) unit_tests ;;
        installer) installer_test ;;
        alsa) alsa_test ;;
    esac
done
log "done in $((SECONDS - total)) s"
