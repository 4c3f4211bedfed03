#!/usr/bin/env bash
# Builds the Debian package and checks it as a user gets it (run by CI):
#   1. scripts/package-deb.sh: the package; lintian (no errors), desktop-file-validate and
#      appstreamcli validate;
#   2. the package unpacked with dpkg -x into a throw-away root: program, desktop entry, icons,
#      metainfo and man page in place, one version in the package, the metainfo and --version;
#   3. the unpacked quillon without a display: --version and --help exit 0;
#   4. on an X server of its own, the unpacked quillon started directly: its main window appears
#      with its title, its icon and the window class the desktop entry names; one click on the
#      close button ends it with status 0;
#   5. the same started through the desktop entry (gio launch) with a .syx file whose path has
#      blanks: the window names that file, and one click on close ends the program.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
# The tests' shared X helpers (start_xvfb, window_title); this script's own fail follows them.
source "$root/tests/lib/xvfb.sh"
source "$root/tests/lib/windows.sh"

work=""
xvfb_pid=""
launched_pid=""
fail()
{
    echo "test-package.sh: FAIL: $*" >&2
    local log
    for log in "${work:-/nonexistent}"/*.log; do
        [[ -s "$log" ]] && sed "s/^/    $(basename "$log" .log): /" "$log" >&2
    done
    exit 1
}

cleanup()
{
    # Either may have ended already: that is no failure (under set -e it would be one here).
    [[ -n "$launched_pid" ]] && { kill "$launched_pid" 2> /dev/null || true; }
    [[ -n "$xvfb_pid" ]] && { kill "$xvfb_pid" 2> /dev/null || true; }
    [[ -n "$work" ]] && rm -rf "$work"
}
trap cleanup EXIT

# ------------------------------------------------------------------ 1. build and validate
mkdir -p "$root/build"
"$root/scripts/package-deb.sh" | tee "$root/build/package-deb.out"
deb="$(tail -n 1 "$root/build/package-deb.out")"
[[ -f "$deb" ]] || fail "package-deb.sh named no package"

# ------------------------------------------------------------------ 2. unpacked
work="$(mktemp -d)"
echo "== unpacked into a throw-away root"
dpkg -x "$deb" "$work/root"
usr="$work/root/usr"
app="$usr/bin/quillon"
desktop="$usr/share/applications/com.brantwell.quillon.desktop"
metainfo="$usr/share/metainfo/com.brantwell.quillon.metainfo.xml"
[[ -x "$app" ]] || fail "no executable usr/bin/quillon in the package"
[[ -f "$desktop" ]] || fail "no desktop entry com.brantwell.quillon.desktop in the package"
[[ -f "$metainfo" ]] || fail "no metainfo com.brantwell.quillon.metainfo.xml in the package"
[[ -f "$usr/share/man/man1/quillon.1.gz" ]] || fail "no man page usr/share/man/man1/quillon.1.gz"
icon="$(sed -n 's/^Icon=//p' "$desktop")"
for size in 16 22 24 32 48 64 128 256; do
    file "$usr/share/icons/hicolor/${size}x$size/apps/$icon.png" | grep -q "PNG image data, $size x $size," ||
        fail "the icon '$icon' is missing or not $size x $size in hicolor/${size}x$size/apps"
done
[[ -f "$usr/share/icons/hicolor/scalable/apps/$icon.svg" ]] || fail "no scalable icon '$icon'"
echo "usr/bin/quillon, desktop entry, metainfo, man page, icon '$icon' in 8 sizes and as SVG"

# ------------------------------------------------------------------ 3. without a display
version="$(dpkg-deb --field "$deb" Version)"
grep -q "<release version=\"$version\" " "$metainfo" || fail "the metainfo has no release $version"
env -u DISPLAY "$app" --version > "$work/version.out" || fail "quillon --version ended with status $?"
[[ "$(head -n 1 "$work/version.out")" == "Quillon $version" ]] ||
    fail "quillon --version says '$(head -n 1 "$work/version.out")', the package is $version"
env -u DISPLAY "$app" --help > "$work/help.out" || fail "quillon --help ended with status $?"
grep -q '^Usage: quillon ' "$work/help.out" || fail "quillon --help prints no usage line"
echo "version $version in the package, the metainfo and --version; --help and --version exit 0"

# ------------------------------------------------------------------ 4. and 5. on an X server
echo "== the unpacked program on Xvfb"
start_xvfb "$work" || fail "Xvfb did not start: $(cat "$work/xvfb.out")"

# find_window TITLE: sets window to the visible window with exactly that title (this X server
# shows nothing else), or returns 1.
find_window()
{
    local w
    for w in $(xdotool search --onlyvisible --name . 2> /dev/null); do
        if [[ "$(window_title "$w")" == "$1" ]]; then
            window="$w"
            return 0
        fi
    done
    return 1
}

# launch TITLE LOG COMMAND...: starts COMMAND in the background (launched_pid) and waits up to 30 s
# for the window titled TITLE (window). Quillon runs once per machine: while another one runs (a
# test elsewhere on this machine), a start ends at once and says so; then it starts again once
# that one is gone, for up to two minutes.
launch()
{
    local title="$1" log="$2" give_up=$((SECONDS + 120)) deadline status
    shift 2
    while true; do
        window=""
        "$@" > "$log" 2>&1 &
        launched_pid=$!
        deadline=$((SECONDS + 30))
        until find_window "$title"; do
            grep -q "^Quillon: another instance of Quillon is already running" "$log" && break
            # gio launch ends at once with status 0; the program itself only with its window closed.
            if [[ -n "$launched_pid" ]] && ! kill -0 "$launched_pid" 2> /dev/null; then
                status=0
                wait "$launched_pid" || status=$?
                launched_pid=""
                ((status == 0)) || fail "'$*' ended with status $status before a window titled '$title' showed"
            fi
            ((SECONDS < deadline)) || fail "no window titled '$title' within 30 s"
            sleep 0.1
        done
        [[ -n "$window" ]] && return 0
        [[ -n "$launched_pid" ]] && { wait "$launched_pid" || true; }
        ((SECONDS < give_up)) || fail "another Quillon kept running on this machine for two minutes"
        sleep 1
    done
}

# close_once WINDOW PID: one click on the close button at the right end of the title bar (26 pixels
# high below a 4-pixel border) once the window stands centred at its size; the process must end
# within 15 s.
close_once()
{
    local w="$1" pid="$2" deadline=$((SECONDS + 15)) X Y WIDTH HEIGHT SCREEN WINDOW
    until eval "$(xdotool getwindowgeometry --shell "$w")" && [[ "$X,$Y,$WIDTH,$HEIGHT" == "315,312,650,400" ]]; do
        ((SECONDS < deadline)) || fail "the window stands at $X,$Y sized $WIDTH x $HEIGHT, not 650 x 400 centred"
        sleep 0.1
    done
    xdotool mousemove --sync $((X + WIDTH - 20)) $((Y + 17)) click 1
    deadline=$((SECONDS + 15))
    while kill -0 "$pid" 2> /dev/null; do
        ((SECONDS < deadline)) || fail "quillon still runs 15 s after one click on its close button"
        sleep 0.1
    done
}

title="Halvane Chorus version 1.0.03 - R1806"
started=$SECONDS
launch "$title" "$work/quillon.log" "$app"
echo "main window '$title' after $((SECONDS - started)) s"
# The icon for the task bar (xprop draws _NET_WM_ICON and names its size), and the class by which
# a desktop puts the window under the desktop entry.
xprop -id "$window" _NET_WM_ICON | grep -q "Icon (64 x 64):" || fail "the window carries no 64 x 64 icon"
wm_class="$(sed -n 's/^StartupWMClass=//p' "$desktop")"
[[ "$(xprop -id "$window" -notype WM_CLASS)" == "WM_CLASS = \"$wm_class\", \"$wm_class\"" ]] ||
    fail "window $(xprop -id "$window" -notype WM_CLASS), the desktop entry names '$wm_class'"
echo "window icon 64 x 64, window class '$wm_class' as in the desktop entry"
close_once "$window" "$launched_pid"
status=0
wait "$launched_pid" || status=$?
launched_pid=""
((status == 0)) || fail "quillon ended with status $status after its close button"
echo "one click on the close button: ended with status 0"

echo "== started through the desktop entry with a file"
# The smallest image the program recognises; the title names the file.
mkdir -p "$work/my firmware"
printf '\xf0\x00\x7f\x7f\x51\x01\x10\x00\xf7' > "$work/my firmware/pedal  v2.syx"
PATH="$usr/bin:$PATH" launch "pedal  v2 version " "$work/gio-launch.log" \
    gio launch "$desktop" "$work/my firmware/pedal  v2.syx"
pid="$(xdotool getwindowpid "$window")" || fail "the window names no process"
[[ "$(readlink "/proc/$pid/exe")" == "$app" ]] || fail "the window belongs to $(readlink "/proc/$pid/exe"), not $app"
echo "gio launch of the desktop entry with '$work/my firmware/pedal  v2.syx': window 'pedal  v2 version '"
close_once "$window" "$pid"
echo "one click on the close button: ended"
echo "test-package.sh: PASS"
