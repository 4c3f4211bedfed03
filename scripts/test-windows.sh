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
#                                an X server it says so and ends (exit 1); --no-window sends it with
#                                no window, progress lines on stderr; no case may crash
#   test-windows.sh --console    --check and --help from the console, compared with the Linux program
#   test-windows.sh --all        all four: unit, console, installer, alsa
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
    --console) steps=(console) ;;
    --all) steps=(unit console installer alsa) ;;
    *) echo "usage: test-windows.sh [--installer | --console | --alsa | --all]" >&2; exit 2 ;;
esac

"$root/scripts/install-deps.sh" wine wine64 xvfb xauth xdotool x11-utils imagemagick

# shellcheck source=../tests/lib/wine-env.sh
source "$root/tests/lib/wine-env.sh" # WINEDEBUG, WINEDLLOVERRIDES

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
    # The tests' Wine prefix, made here: made by the first tests instead (a minute and more), it
    # took one of them past its time-out.
    local start=$SECONDS
    "$root/tests/windows/wine-run.sh" "$root/build/windows-tests/wine-prefix" cmd /c exit 0
    # Its Wine server and desktop were started without a display: end them, or every test's window
    # would open on that desktop and fail.
    WINEPREFIX="$root/build/windows-tests/wine-prefix" wineserver -k 2> /dev/null || true
    WINEPREFIX="$root/build/windows-tests/wine-prefix" wineserver -w
    log "Wine prefix for the unit tests: $((SECONDS - start)) s"
    log "unit tests under Wine ($(grep -c -v '^#' "$list") exclusions, with reasons, in tests/windows/excluded-tests.txt)"
    start=$SECONDS
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

# ------------------------------------------------------------------ console
# The options that write to the caller's console, run as from cmd.exe: --check on the built-in
# image, on a sound file and on a damaged one must print what the Linux program prints (stdout
# byte for byte but for Windows' CR LF; the line on stderr with Wine's Z: path in place of the
# Linux path) with the same status, and --help must list --no-window.
console_test() {
    build
    "$root/scripts/build.sh" "$root/build/debug" Debug -DQUILLON_WARNINGS_AS_ERRORS=ON
    local work="$root/build/windows-console-test" linux="$root/build/debug/Quillon_artefacts/Debug/Quillon"
    local exe="$release/Quillon_artefacts/Release/Quillon.exe" start=$SECONDS
    rm -rf "$work"
    mkdir -p "$work"
    export WINEPREFIX="$work/prefix"
    "$root/build/debug/tests/QuillonE2eTool" write-image "$work/sound.syx" 40
    head -c 1000 "$work/sound.syx" > "$work/damaged.syx"

    # compare NAME ARGS...: both programs with ARGS (a file as its Linux path; Wine gets Z:).
    compare() {
        local name="$1" linux_rc=0 windows_rc=0 arg windows_args=()
        shift
        for arg in "$@"; do
            [[ "$arg" == /* ]] && arg="Z:$arg"
            windows_args+=("$arg")
        done
        "$linux" "$@" > "$work/$name.linux.out" 2> "$work/$name.linux.err" || linux_rc=$?
        wine "$exe" "${windows_args[@]}" > "$work/$name.windows.out" 2> "$work/$name.windows.err" || windows_rc=$?
        [[ $windows_rc -eq $linux_rc ]] ||
            fail "Quillon.exe $* ended with status $windows_rc, the Linux program with $linux_rc: $(cat "$work/$name.windows.err")"
        # Windows ends its console lines with CR LF.
        tr -d '\r' < "$work/$name.windows.out" > "$work/$name.windows.lf"
        cmp -s "$work/$name.linux.out" "$work/$name.windows.lf" ||
            fail "Quillon.exe $* printed something else than the Linux program: $(diff "$work/$name.linux.out" "$work/$name.windows.lf")"
        local linux_line windows_line
        linux_line="$(grep '^Quillon: ' "$work/$name.linux.err" || true)"
        windows_line="$(grep '^Quillon: ' "$work/$name.windows.err" | tr -d '\r' | sed 's#Z:/#/#g' || true)"
        [[ "$windows_line" == "$linux_line" ]] ||
            fail "Quillon.exe $* said '$windows_line' on stderr, the Linux program '$linux_line'"
        log "Quillon.exe $*: status $windows_rc, the same output as the Linux program"
    }
    compare builtin --check
    compare sound --check --file "$work/sound.syx"
    compare damaged --check --file "$work/damaged.syx"
    [[ -s "$work/sound.windows.out" && -s "$work/damaged.windows.err" ]] ||
        fail "Quillon.exe --check printed nothing"
    wine "$exe" --help > "$work/help.out" 2>&1 || fail "Quillon.exe --help failed: $(cat "$work/help.out")"
    grep -q -- "--no-window" "$work/help.out" || fail "Quillon.exe --help does not list --no-window"
    wineserver -k 2> /dev/null || true
    unset WINEPREFIX
    log "console options under Wine: passed in $((SECONDS - start)) s"
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
    # The cases of tests/e2e/alsa-e2e.sh that the Windows program runs too (QUILLON_WINE_CASES: some).
    local wine_cases
    read -r -a wine_cases <<< "${QUILLON_WINE_CASES:-autoupdate_file damaged_file missing_file no_display terminal_update}"
    local run=(bash "$root/tests/e2e/alsa-e2e.sh" CASE --app "$root/tests/windows/quillon-wine.sh"
        --receiver "$root/build/debug/tests/PacedMidiReceiver" --tool "$root/build/debug/tests/QuillonE2eTool")
    # One wineserver for all Wine processes of the run (-p: it stays between them).
    "$root/scripts/in-alsa-vm.sh" --timeout 1500 -- env QUILLON_ALSA_REQUIRED=1 \
        QUILLON_E2E_START_SECONDS=300 QUILLON_E2E_NO_REPAINTS=1 QUILLON_E2E_TERMINAL_DESKTOP=1 QUILLON_WINDOWS_EXE="$release/Quillon_artefacts/Release/Quillon.exe" \
        QUILLON_RUN_AND_WAIT_EXE="$out/RunAndWait.exe" WINE_CASES="${wine_cases[*]}" OUT="$out" bash -c 'wineserver -p; rc=0
                 for case in $WINE_CASES; do
                     "${@/#CASE/$case}" --out "$OUT/$case" || rc=1
                 done
                 wineserver -k; exit $rc' \
        _ "${run[@]}" || rc=$?
    unset WINEPREFIX
    [[ $rc -ne 75 ]] || fail "there is no alsa-vm guest to run the Wine MIDI cases in"
    [[ $rc -eq 0 ]] || fail "the Wine MIDI cases failed (status $rc; logs in $out)"
    log "Wine MIDI cases in the alsa-vm guest (${wine_cases[*]}): passed in $((SECONDS - start)) s"
}

total=$SECONDS
for step in "${steps[@]}"; do
    case "$step" in
        unit) unit_tests ;;
        installer) installer_test ;;
        console) console_test ;;
        alsa) alsa_test ;;
    esac
done
log "done in $((SECONDS - total)) s"
