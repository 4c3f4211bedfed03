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
# The tests' shared helpers (Xvfb, windows, single-instance starts); this script's own fail
# follows them.
source "$root/tests/lib/xvfb.sh"
source "$root/tests/lib/instance.sh"

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

# launch TITLE LOG COMMAND...: starts COMMAND as the one running Quillon (tests/lib/instance.sh:
# another one may run elsewhere on this machine) and waits for the window titled TITLE (window);
# launched_pid is COMMAND's process while it runs. This X server shows nothing else, so the window
# is found by its title alone: gio launch ends at once with status 0, and the program runs on.
launch()
{
    local title="$1" log="$2"
    shift 2
    window=""
    shows_window() { window="$(find_titled_window "$title")"; }
    start_single_instance --ready shows_window --launcher "$log" "$@"
    launched_pid="$app_pid"
}

title="$(main_window_title "$app")" || fail "quillon --version names no built-in firmware"
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
close_main_window "$launched_pid" "$window" 15
launched_pid=""
((close_status == 0)) || fail "quillon ended with status $close_status after its close button"
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
# Not a child of this script (gio started it): its status is not known here.
close_main_window "$pid" "$window" 15
echo "one click on the close button: ended"
echo "test-package.sh: PASS"
