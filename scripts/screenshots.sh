#!/usr/bin/env bash
# Takes the README's screenshots of the real program on an X server of its own, in docs/:
#   main-window.png            the main window right after start (no MIDI output selected)
#   help-window.png            the help window, opened with the Help button
#   output-list.png            the output selector's drop-down list, open
#   main-window-selected.png   an output selected: the update button turns green
#   main-window-uploading.png  an update under way
#   progress-time-left.png     the progress row of an update under way: per cent and time left
#   warning-box.png            the warning when the update cannot start (no such output)
#   device-lost-box.png        the advice after the pedal was unplugged during an update
#   screenshots.sh [QUILLON_HARNESS]   (default: a Release build in build/release-harness, built first)
# The program runs in QuillonHarness, the real application on virtual MIDI outputs ("Virtual Pedal",
# "Virtual Synth"), so that an output can be selected and an update shown on any machine.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
# shellcheck source=../tests/lib/xvfb.sh
source "$root/tests/lib/xvfb.sh"

harness="${1:-}"
if [[ -z "$harness" ]]; then
    "$root/scripts/install-deps.sh"
    # A folder of its own: start.sh's build/release is configured without the tests, the harness
    # among them, and each would otherwise switch the other's cached setting.
    "$root/scripts/build.sh" "$root/build/release-harness" Release -DQUILLON_BUILD_TESTS=ON > /dev/null
    harness="$root/build/release-harness/tests/QuillonHarness"
fi

docs="$root/docs"
mkdir -p "$docs"
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
    [[ -s "$work/app.log" ]] && sed 's/^/    /' "$work/app.log" >&2
    exit 1
}

start_xvfb "$work" || fail "Xvfb did not start"

# start_app ARGS...: starts the harness. The application runs as a single instance per machine, so
# a second start ends at once while another (a test, say) runs: try again for up to two minutes.
start_app()
{
    local attempt
    for attempt in $(seq 120); do
        "$harness" "$@" > "$work/app.log" 2>&1 &
        app_pid=$!
        sleep 1
        if kill -0 "$app_pid" 2> /dev/null; then
            return 0
        fi
        wait "$app_pid" 2> /dev/null || true
        app_pid=""
    done
    fail "the application did not stay up (another instance kept running?)"
}

# close_app: clicks the main window's close button and waits for the application to end.
close_app()
{
    xdotool mousemove $((315 + 618 + 11)) $((312 + 4 + 13)) click 1
    for i in $(seq 100); do
        kill -0 "$app_pid" 2> /dev/null || break
        sleep 0.1
    done
    kill "$app_pid" 2> /dev/null || true
    wait "$app_pid" 2> /dev/null || true
    app_pid=""
}

# window_at TITLE X Y W H: waits until the window with that title stands at that place and size,
# and prints its id. window_at TITLE any: wherever it is.
window_at()
{
    local title="$1" want="any" i w X Y WIDTH HEIGHT SCREEN WINDOW
    [[ "$2" == "any" ]] || want="$2,$3,$4,$5"
    for i in $(seq 150); do
        for w in $(xdotool search --onlyvisible --pid "$app_pid" 2> /dev/null || true); do
            [[ "$(xdotool getwindowname "$w" 2> /dev/null)" == "$title" ]] || continue
            eval "$(xdotool getwindowgeometry --shell "$w")"
            if [[ "$X,$Y,$WIDTH,$HEIGHT" == "$want" || "$want" == "any" ]]; then
                echo "$w"
                return 0
            fi
        done
        sleep 0.1
    done
    fail "no window '$title' at $want"
}

# shoot X Y W H NAME: the screen area as docs/NAME.png, once painting has settled.
shoot()
{
    sleep 1
    import -window root -crop "$3x$4+$1+$2" +repage "$docs/$5.png"
    echo "screenshots: docs/$5.png"
}

# click X Y: clicks there, then moves the mouse out of the way so that no control shows its
# mouse-over look in the next picture.
click()
{
    xdotool mousemove "$1" "$2" click 1
    sleep 0.3
    xdotool mousemove 5 5
}

title="Halvane Chorus version 1.0.03 - R1806"
# The main window: 650 x 400, centred on the 1280 x 1024 screen; its panel starts below the
# 4-pixel border and the 26-pixel title bar, at (319, 342).
px=319
py=342

# The pedal takes 3125 bytes a second, as a real MIDI cable: the update takes over a minute.
start_app --harness-rate=3125
window_at "$title" 315 312 650 400 > /dev/null
shoot 315 312 650 400 main-window

# Help: the button at the top right of the panel; the help window's own close button hides it.
click $((px + 642 - 104 + 47)) $((py + 2 + 15))
window_at "Firmware Update Help" 365 312 550 400 > /dev/null
shoot 365 312 550 400 help-window
click $((365 + 4 + 514 + 11)) $((312 + 4 + 13))
click $((px + 300)) $((py + 20))

# The output selector (below "STEP1" and its label): open the list, point at "Virtual Pedal".
click $((px + 300)) $((py + 140))
list=$(window_at "menu" any)
eval "$(xdotool getwindowgeometry --shell "$list")"
xdotool mousemove $((X + 120)) $((Y + 44))
shoot 315 312 650 400 output-list
xdotool click 1
xdotool mousemove 5 5
shoot 315 312 650 400 main-window-selected

# Update: the button right of the progress bar.
click $((px + 642 - 104 + 47)) $((py + 215 + 15))
sleep 5
shoot 315 312 650 400 main-window-uploading
# The progress label, the bar and the button (panel y 190 to 250).
shoot $((px - 4)) $((py + 188)) 650 64 progress-time-left
close_app

# The pedal unplugged while it takes its 20th message: the box that says what to do now.
start_app --harness-rate=3125 --harness-unplug-after=20
window_at "$title" 315 312 650 400 > /dev/null
click $((px + 300)) $((py + 140))
list=$(window_at "menu" any)
eval "$(xdotool getwindowgeometry --shell "$list")"
click $((X + 120)) $((Y + 44))
click $((px + 642 - 104 + 47)) $((py + 215 + 15))
box=$(window_at "The connection to the pedal was lost" any)
eval "$(xdotool getwindowgeometry --shell "$box")"
shoot "$X" "$Y" "$WIDTH" "$HEIGHT" device-lost-box
xdotool key --window "$box" Return 2> /dev/null || true
close_app

# Automatic mode with an output that does not exist: the warning box, over the main window.
start_app --autoupdate --outputid 3
box=$(window_at "" any)
eval "$(xdotool getwindowgeometry --shell "$box")"
shoot "$X" "$Y" "$WIDTH" "$HEIGHT" warning-box
# The key release may find the box closed by the key press already, and xdotool fail.
xdotool key --window "$box" Return 2> /dev/null || true
window_at "$title" 315 312 650 400 > /dev/null
close_app
