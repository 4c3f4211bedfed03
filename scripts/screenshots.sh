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
# The main window's title comes from the application built beside the harness (its --version), or
# from $QUILLON_APP.
# The program runs in QuillonHarness, the real application on virtual MIDI outputs ("Virtual Pedal",
# "Virtual Synth"), so that an output can be selected and an update shown on any machine.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
# shellcheck source=../tests/lib/gui-script.sh
source "$root/tests/lib/gui-script.sh"

harness="${1:-}"
if [[ -z "$harness" ]]; then
    "$root/scripts/install-deps.sh"
    # A folder of its own: start.sh's build/release is configured without the tests, the harness
    # among them, and each would otherwise switch the other's cached setting.
    "$root/scripts/build.sh" "$root/build/release-harness" Release -DQUILLON_BUILD_TESTS=ON > /dev/null
    harness="$root/build/release-harness/tests/QuillonHarness"
fi
quillon="${QUILLON_APP:-$(ls "$(dirname "$harness")"/../Quillon_artefacts/*/Quillon 2> /dev/null | head -n 1)}"

docs="$root/docs"
mkdir -p "$docs"

fail()
{
    echo "screenshots: $*" >&2
    [[ -s "$work/app.log" ]] && sed 's/^/    /' "$work/app.log" >&2
    exit 1
}

start_xvfb "$work" || fail "Xvfb did not start"

# start_app ARGS...: starts the harness as the one running instance of the application (a test may
# be running another), and returns once it shows a window (tests/lib/instance.sh).
start_app()
{
    start_single_instance "$work/app.log" "$harness" "$@"
}

# close_app: one click on the main window's close button; the application must end within 10 s.
close_app()
{
    local w
    w="$(window_at "$title" centred)"
    close_main_window "$app_pid" "$w" 10
    app_pid=""
}

# window_at TITLE centred|any: waits until the window with that title stands centred at the size
# WindowSizes.h gives it (the main or the help window) or, with "any", shows anywhere; prints its id.
window_at()
{
    local title="$1" w
    w="$(wait_for_window "$app_pid" "$title")"
    if [[ "$2" == centred ]]; then
        if [[ "$title" == "$help_title" ]]; then
            wait_until_centred "$w" 60 "$help_width" "$help_height"
        else
            wait_until_centred "$w"
        fi
    fi
    echo "$w"
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

title="$(main_window_title "$quillon")" || fail "no application beside $harness to name the window's title (set QUILLON_APP)"
help_title="Firmware Update Help"
# The main window and the help window, centred on the 1280 x 1024 screen; the main window's panel
# (tests/lib/layout.sh) starts below the frame's border and title bar.
main_x=$(((1280 - main_width) / 2)) main_y=$(((1024 - main_height) / 2))
help_x=$(((1280 - help_width) / 2)) help_y=$(((1024 - help_height) / 2))
px=$((main_x + panel_offset_x))
py=$((main_y + panel_offset_y))
# click_panel CONTROL: clicks the middle of that control of the panel (tests/lib/layout.sh).
click_panel()
{
    local x y
    read -r x y <<< "$(centre_of "$1")"
    click $((px + x)) $((py + y))
}
shoot_main() { shoot "$main_x" "$main_y" "$main_width" "$main_height" "$1"; }

# The pedal takes 3125 bytes a second, as a real MIDI cable: the update takes over a minute.
start_app --harness-rate=3125
window_at "$title" centred > /dev/null
shoot_main main-window

# Help: the button at the top right of the panel; the help window's own close button hides it.
click_panel help_button
help=$(window_at "$help_title" centred)
shoot "$help_x" "$help_y" "$help_width" "$help_height" help-window
click_close_button "$help"
xdotool mousemove 5 5
wait_until_gone "$help" "$app_pid" 10 || fail "the help window is still shown after its close button"
click $((px + 300)) $((py + 20))

# The output selector (below "STEP1" and its label): open the list, point at "Virtual Pedal".
click_panel selector
list=$(window_at "menu" any)
eval "$(xdotool getwindowgeometry --shell "$list")"
xdotool mousemove $((X + 120)) $((Y + 44))
shoot_main output-list
xdotool click 1
xdotool mousemove 5 5
shoot_main main-window-selected

# Update: the button right of the progress bar.
click_panel update_button
sleep 5
shoot_main main-window-uploading
# The progress label, the bar and the button (panel y 190 to 250).
shoot $((px - 4)) $((py + 188)) 650 64 progress-time-left
close_app

# The pedal unplugged while it takes its 20th message: the box that says what to do now.
start_app --harness-rate=3125 --harness-unplug-after=20
window_at "$title" centred > /dev/null
click_panel selector
list=$(window_at "menu" any)
eval "$(xdotool getwindowgeometry --shell "$list")"
click $((X + 120)) $((Y + 44))
click_panel update_button
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
close_app
