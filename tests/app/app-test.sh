#!/usr/bin/env bash
# Drives the real Quillon binary on an X server of its own (so that windows of other tests running
# at the same time can neither be counted nor clicked by mistake).
#   app-test.sh QUILLON_BINARY CASE
# The cases are those of the case statement below (tests/scripts/app.cmake makes a test of each).
# The application's own output is printed at the end, so that CTest's failure patterns (JUCE
# assertions, leaks, sanitizer reports) apply to it as well.
set -euo pipefail
# shellcheck source=../lib/gui-script.sh
source "$(dirname "${BASH_SOURCE[0]}")/../lib/gui-script.sh"

app="$1"
case="$2"

on_exit()
{
    local log
    for log in "$work"/*.log; do
        [[ ! -e "$log" ]] || { echo "---- $(basename "$log")"; cat "$log"; }
    done
}

# start_app NAME ARGS...: starts Quillon in the background; its pid goes to the variable NAME.
start_app()
{
    local name="$1"
    shift
    "$app" "$@" > "$work/$name.log" 2>&1 &
    pids+=($!)
    printf -v "$name" '%s' "$!"
}

# start_first NAME ARGS...: starts Quillon as the running instance (tests/lib/instance.sh) once it
# shows a window; its pid goes to the variable NAME.
start_first()
{
    local name="$1"
    shift
    start_single_instance "$work/$name.log" "$app" "$@"
    pids+=("$app_pid")
    printf -v "$name" '%s' "$app_pid"
}

geometry()
{
    local X Y WIDTH HEIGHT SCREEN WINDOW
    eval "$(xdotool getwindowgeometry --shell "$1")"
    echo "$WIDTH x $HEIGHT"
}

# One click on the close button once the window stands centred (tests/lib/windows.sh); the process
# must then end by itself with status 0. A click that has no effect fails the case.
close_and_expect_exit_0()
{
    close_main_window "$1" "$2" 60
    [[ $close_status -eq 0 ]] || fail "Quillon ended with status $close_status after the close button"
}

# titled PID TITLE: whether the process shows a window with exactly that title.
titled()
{
    find_titled_window "$2" "$1" > /dev/null
}

# has_focused_box PID TITLE: whether the message box with that title has the keyboard focus.
has_focused_box()
{
    local focus
    focus="$(xdotool getwindowfocus 2> /dev/null)" || return 1
    [[ $'\n'"$(visible_windows "$1")"$'\n' == *$'\n'"$focus"$'\n'* && "$(window_title "$focus")" == "$2" ]]
}

# dismiss PID TITLE: presses Return (the default button) once, as a user would, while the message
# box with that title has the keyboard focus, and waits until no window has that title any more.
# JUCE may replace a box's X window while it sets the box up (a key sent to a named window can then
# fail with BadWindow), so the key is typed on the keyboard (XTEST) and goes to the focused box.
dismiss()
{
    local pid="$1" title="$2"
    if ! wait_until 60 has_focused_box "$pid" "$title"; then
        describe_windows "$pid"
        fail "no message box '$title' with the keyboard focus within 60 s"
    fi
    xdotool key Return
    if ! wait_while 60 titled "$pid" "$title"; then
        describe_windows "$pid"
        fail "the message box '$title' is still shown after its key Return"
    fi
}

builtin_title="$(main_window_title "$app")" || fail "no title for the built-in firmware"

make_syx()
{
    mkdir -p "$(dirname "$1")"
    printf '\xf0\x00\x7f\x7f\x51\x01\x10\x00\xf7' > "$1"
}

case "$case" in
    window)
        start_x
        start_first first
        w=$(wait_for_window "$first" "$builtin_title")
        wait_until_centred "$w"
        [[ "$(visible_windows "$first" | wc -l)" -eq 1 ]] || fail "more than one window"
        eval "$(xdotool getwindowgeometry --shell "$w")"
        # Drag the bottom-right corner of the resizable border outwards: the size stays.
        xdotool mousemove $((X + main_width - 2)) $((Y + main_height - 2)) mousedown 1 \
            mousemove $((X + main_width + 50)) $((Y + main_height + 50)) \
            mousemove $((X + main_width + 110)) $((Y + main_height + 100)) mouseup 1
        # A resize would follow the drag at once: watch the size for half a second.
        size_unchanged() { [[ "$(geometry "$w")" == "$main_width x $main_height" ]]; }
        holds_for 0.5 size_unchanged || fail "window resized to $(geometry "$w")"
        close_and_expect_exit_0 "$first" "$w"
        ;;

    second-instance)
        start_x
        start_first first
        w=$(wait_for_window "$first" "$builtin_title")
        start_app second --file "$work/other.syx"
        # Until it ends (at most 5 s), it shows no window.
        runs_without_window() { kill -0 "$second" 2> /dev/null && [[ -z "$(visible_windows "$second")" ]]; }
        wait_while 5 runs_without_window || true
        kill -0 "$second" 2> /dev/null && fail "the second start still runs after 5 s"
        [[ -z "$(visible_windows "$second")" ]] || fail "the second start showed a window"
        status=0
        wait "$second" || status=$?
        [[ $status -eq 0 ]] || fail "the second start ended with status $status"
        grep -qx "Quillon: another instance of Quillon is already running; nothing was sent" "$work/second.log" ||
            fail "the second start did not say why it ended"
        # An unattended second start tells its script that it sent nothing.
        start_app third --autoupdate --outputid 1
        status=0
        wait_for_exit "$third" 10 || status=$?
        [[ $status -ne 124 ]] || fail "the automatic second start still runs after 10 s"
        [[ $status -eq 5 ]] || fail "the automatic second start ended with status $status (expected 5)"
        # The running instance is unchanged.
        [[ "$(visible_windows "$first")" == "$w" ]] || fail "the first instance's windows changed"
        [[ "$(window_title "$w")" == "$builtin_title" ]] || fail "the first instance's title changed"
        close_and_expect_exit_0 "$first" "$w"
        ;;

    file-missing)
        start_x
        # A missing file, and a quoted path to an existing file (quotation marks are part of the
        # name): both are reported with the name exactly as given, then the built-in image is used.
        make_syx "$work/fw.syx"
        for name in "$work/missing firmware.syx" "\"$work/fw.syx\""; do
            start_first first --file "$name"
            wait_for_window "$first" "File $name not found" > /dev/null
            dismiss "$first" "File $name not found"
            w=$(wait_for_window "$first" "$builtin_title")
            close_and_expect_exit_0 "$first" "$w"
        done
        ;;

    file-found)
        start_x
        make_syx "$work/fw.syx"
        make_syx "$work/dir with blank/my  fw.syx"
        make_syx "$work/Überspielung/fw ä.v2.syx"
        titles=("fw version " "fw version " "my  fw version " "fw ä.v2 version ")
        options=(--file --FILE --file --file)
        paths=("$work/fw.syx" "$work/fw.syx" "$work/dir with blank/my  fw.syx" "$work/Überspielung/fw ä.v2.syx")
        for i in "${!titles[@]}"; do
            # The path is one argument, as a shell passes a quoted path.
            start_first first "${options[$i]}" "${paths[$i]}"
            w=$(wait_for_window "$first" "${titles[$i]}")
            close_and_expect_exit_0 "$first" "$w"
        done
        ;;

    file-not-recognised)
        start_x
        make_syx "$work/fw.syx"
        start_first first --filex "$work/fw.syx"
        w=$(wait_for_window "$first" "$builtin_title")
        [[ "$(visible_windows "$first" | wc -l)" -eq 1 ]] || fail "a message box was shown"
        close_and_expect_exit_0 "$first" "$w"
        ;;

    no-display)
        # A display that no server serves (with DISPLAY unset, JUCE would try :0, which may exist).
        n=900
        while [[ -e "/tmp/.X11-unix/X$n" ]]; do
            n=$((n + 1))
        done
        status=0
        DISPLAY=":$n" timeout 30 "$app" > "$work/no-display.log" 2>&1 || status=$?
        [[ $status -ne 124 ]] || fail "Quillon without a display still ran after 30 s"
        [[ $status -ne 0 ]] || fail "Quillon without a display ended with status 0"
        [[ $status -lt 128 ]] || fail "Quillon without a display was killed by signal $((status - 128))"
        grep -q "^Quillon: no graphical display" "$work/no-display.log" || fail "no clear message without a display"
        ;;

    *)
        fail "unknown case $case"
        ;;
esac
echo "PASS: $case"
