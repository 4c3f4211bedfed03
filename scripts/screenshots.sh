#!/usr/bin/env bash
# Takes the README's screenshots of the real program on an X server of its own:
#   docs/main-window.png   the main window right after start (no MIDI output selected)
#   docs/help-window.png   the help window, opened with the Help button
#   screenshots.sh [QUILLON_BINARY]   (default: a Release build, built first)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"

app="${1:-}"
if [[ -z "$app" ]]; then
    "$root/scripts/install-deps.sh"
    "$root/scripts/build.sh" "$root/build/release" Release -DQUILLON_BUILD_TESTS=OFF > /dev/null
    app="$root/build/release/Quillon_artefacts/Release/Quillon"
fi

work="$(mktemp -d)"
xvfb_pid=""
app_pid=""
cleanup()
{
    [[ -n "$app_pid" ]] && kill "$app_pid" 2> /dev/null || true
    [[ -n "$xvfb_pid" ]] && kill "$xvfb_pid" 2> /dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

fail()
{
    echo "screenshots: $*" >&2
    exit 1
}

exec 3> "$work/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp > /dev/null 2>&1 &
xvfb_pid=$!
for i in $(seq 100); do
    [[ -s "$work/display" ]] && break
    sleep 0.1
done
export DISPLAY=":$(head -n 1 "$work/display")"

"$app" > "$work/app.log" 2>&1 &
app_pid=$!

# window_at TITLE X Y W H: waits until the window with that title stands at that place and size,
# and prints its id.
window_at()
{
    local title="$1" want="$2,$3,$4,$5" i w X Y WIDTH HEIGHT SCREEN WINDOW
    for i in $(seq 150); do
        for w in $(xdotool search --onlyvisible --pid "$app_pid" 2> /dev/null || true); do
            [[ "$(xdotool getwindowname "$w" 2> /dev/null)" == "$title" ]] || continue
            eval "$(xdotool getwindowgeometry --shell "$w")"
            if [[ "$X,$Y,$WIDTH,$HEIGHT" == "$want" ]]; then
                echo "$w"
                return 0
            fi
        done
        sleep 0.1
    done
    fail "no window '$title' at $want"
}

# shoot X Y W H FILE: the screen area, once painting has settled.
shoot()
{
    sleep 1
    import -window root -crop "$3x$4+$1+$2" +repage "$5"
}

window_at "Halvane Chorus version 1.0.03 - R1806" 315 312 650 400 > /dev/null
mkdir -p "$root/docs"
shoot 315 312 650 400 "$root/docs/main-window.png"

# The Help button: top right of the panel, which starts below the 4-pixel border and the
# 26-pixel title bar.
xdotool mousemove $((315 + 4 + 642 - 104 + 47)) $((312 + 30 + 2 + 15)) click 1
xdotool mousemove 5 5
window_at "Firmware Update Help" 365 312 550 400 > /dev/null
shoot 365 312 550 400 "$root/docs/help-window.png"

echo "screenshots: docs/main-window.png, docs/help-window.png"
