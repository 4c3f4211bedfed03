#!/usr/bin/env bash
# Builds and checks the Debian package as a user would get it (run by CI):
#   1. scripts/package-deb.sh: the package, lintian (no errors), desktop-file-validate and
#      appstreamcli validate;
#   2. the package unpacked with dpkg -x into a throw-away root: the desktop entry's program and
#      icon are there;
#   3. the unpacked root/usr/bin/quillon started on an X server of its own: its main window appears
#      with the icon and the window class the desktop entry names; a close request, as a window
#      manager's close button sends it, ends the program with exit status 0.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"

fail()
{
    echo "test-package.sh: FAIL: $*" >&2
    [[ -s "${work:-}/app.log" ]] && sed 's/^/    quillon: /' "$work/app.log" >&2
    exit 1
}

"$root/scripts/package-deb.sh" | tee "$root/build/package/package-deb.out"
deb="$(tail -n 1 "$root/build/package/package-deb.out")"
[[ -f "$deb" ]] || fail "package-deb.sh named no package"

# The tool that interns the window-manager atoms and sends the close request (Debug suite's build).
"$root/scripts/build.sh" "$root/build/debug" Debug > "$root/build/package/debug-build.log" 2>&1 ||
    fail "the Debug build failed (see $root/build/package/debug-build.log)"
tool="$root/build/debug/tests/QuillonE2eTool"

work="$(mktemp -d)"
xvfb_pid=""
app_pid=""
cleanup()
{
    [[ -n "$app_pid" ]] && kill "$app_pid" 2> /dev/null
    [[ -n "$xvfb_pid" ]] && kill "$xvfb_pid" 2> /dev/null
    rm -rf "$work"
}
trap cleanup EXIT

echo "== unpacked into a throw-away root"
dpkg -x "$deb" "$work/root"
app="$work/root/usr/bin/quillon"
desktop="$work/root/usr/share/applications/com.brantwell.quillon.desktop"
[[ -x "$app" ]] || fail "no executable usr/bin/quillon in the package"
[[ -f "$desktop" ]] || fail "no desktop entry com.brantwell.quillon.desktop in the package"
icon="$(sed -n 's/^Icon=//p' "$desktop")"
for size in 16x16 22x22 24x24 32x32 48x48 64x64 128x128 256x256; do
    file "$work/root/usr/share/icons/hicolor/$size/apps/$icon.png" | grep -q "PNG image data, ${size/x/ x }," ||
        fail "the icon '$icon' is missing or not $size in hicolor/$size/apps"
done
[[ -f "$work/root/usr/share/icons/hicolor/scalable/apps/$icon.svg" ]] || fail "no scalable icon '$icon'"
grep -q '^Exec=.*exec quillon ' "$desktop" || fail "the desktop entry does not start quillon"
wm_class="$(sed -n 's/^StartupWMClass=//p' "$desktop")"
echo "usr/bin/quillon, the desktop entry, icon '$icon' in 8 sizes and as SVG"

echo "== the unpacked program under Xvfb"
# -noreset: the atoms interned below must outlive the helper that creates them.
exec 3> "$work/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset > "$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for i in $(seq 100); do
    [[ -s "$work/display" ]] && break
    sleep 0.1
done
[[ -s "$work/display" ]] || fail "Xvfb did not start"
export DISPLAY=":$(head -n 1 "$work/display")"
"$tool" intern-wm-atoms || fail "cannot reach Xvfb on $DISPLAY"

title="Halvane Chorus version 1.0.03 - R1806"
started=$SECONDS
# Quillon runs once per machine: while another one runs (a test elsewhere on this machine), a
# start ends at once without a window. Start again until this one stays, for up to two minutes.
window=""
while [[ -z "$window" ]]; do
    "$app" > "$work/app.log" 2>&1 &
    app_pid=$!
    for i in $(seq 300); do
        for w in $(xdotool search --onlyvisible --pid "$app_pid" 2> /dev/null || true); do
            if [[ "$(LC_ALL=C.UTF-8 xprop -id "$w" -notype WM_NAME 2> /dev/null)" == "WM_NAME = \"$title\"" ]]; then
                window="$w"
            fi
        done
        [[ -n "$window" ]] && break
        kill -0 "$app_pid" 2> /dev/null || break
        sleep 0.1
    done
    [[ -n "$window" ]] && break
    kill -0 "$app_pid" 2> /dev/null && fail "no window titled '$title' within 30 s"
    status=0
    wait "$app_pid" || status=$?
    app_pid=""
    # 5: another instance runs; 0 is what builds before that status say for it.
    [[ $status -eq 5 || $status -eq 0 ]] || fail "quillon ended with status $status before showing its window"
    ((SECONDS - started < 120)) || fail "another Quillon kept running for two minutes"
    sleep 1
done
echo "main window '$title' after $((SECONDS - started)) s"

# The icon for the task bar (_NET_WM_ICON; xprop draws it and names its size) and the class by
# which a desktop puts the window under the desktop entry.
xprop -id "$window" _NET_WM_ICON | grep -q "Icon (64 x 64):" || fail "the window carries no 64 x 64 icon"
[[ "$(xprop -id "$window" -notype WM_CLASS)" == "WM_CLASS = \"$wm_class\", \"$wm_class\"" ]] ||
    fail "window class $(xprop -id "$window" -notype WM_CLASS), the desktop entry names '$wm_class'"
echo "window icon 64 x 64, window class '$wm_class' as in the desktop entry"

"$tool" close-window "$window" || fail "the close request could not be sent"
for i in $(seq 100); do
    kill -0 "$app_pid" 2> /dev/null || break
    sleep 0.1
done
kill -0 "$app_pid" 2> /dev/null && fail "quillon still runs 10 s after the close request"
status=0
wait "$app_pid" || status=$?
app_pid=""
[[ $status -eq 0 ]] || fail "quillon ended with status $status after the close request"
echo "closed by a close request: exit status 0"
echo "test-package.sh: PASS"
