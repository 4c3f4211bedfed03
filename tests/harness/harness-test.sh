#!/usr/bin/env bash
# Runs the real application on virtual MIDI outputs (QuillonHarness: output 1 "Virtual Pedal",
# output 2 "Virtual Synth") on an X server of its own, and checks what the devices received.
#   harness-test.sh HARNESS_BINARY CASE
# The cases are those of the case statement below (tests/scripts/harness.cmake makes a test of
# each). The main window's title comes from the application beside the harness, $QUILLON_APP
# (QUILLON_APP=path/to/Quillon, set by the CTest tests).
# The harness's own output is printed at the end, so that CTest's failure patterns (JUCE
# assertions, leaks, sanitizer reports) apply to it as well.
set -euo pipefail
# shellcheck source=../lib/gui-script.sh
source "$(dirname "${BASH_SOURCE[0]}")/../lib/gui-script.sh"

harness="$1"
case="$2"

on_exit()
{
    [[ ! -e "$work/harness.log" ]] || { echo "---- harness output"; cat "$work/harness.log"; }
}

# stopped_within_5_s EVENT WHAT: right after run_harness, the harness announced "EVENT at <ms>" (WHAT
# happened then, during an automatic update); the application must have ended within 5 s of it
# with status 1 (stopped).
stopped_within_5_s()
{
    local ended at
    ended=$(date +%s%3N)
    at=$(sed -n "s/^$1 at \([0-9]*\)\$/\1/p" "$work/harness.log")
    [[ -n "$at" ]] || fail "no '$1 at' line: $2 did not happen"
    ((ended - at < 5000)) || fail "the application took $((ended - at)) ms to end after $2"
    [[ $status -eq 1 ]] || fail "exit status $status after $2 during an automatic update (expected 1)"
}

# run_harness ARGS...: runs the harness to its end (at most 60 s) as the one running instance
# (tests/lib/instance.sh); sets `status`.
run_harness()
{
    run_single_instance "$work/harness.log" 60 "$harness" --harness-received="$work/received.syx" "$@"
    [[ $status -ne 124 ]] || fail "the application did not end within 60 s"
    [[ $status -lt 128 ]] || fail "the application was killed by signal $((status - 128))"
}

# start_harness ARGS...: starts the harness in the background and returns once it shows a window.
start_harness()
{
    start_single_instance "$work/harness.log" "$harness" --harness-received="$work/received.syx" "$@"
}

# stays_running SECONDS: fails the case when the application ends within that time.
app_runs() { kill -0 "$app_pid" 2> /dev/null; }
stays_running()
{
    holds_for "$1" app_runs || fail "the application ended by itself"
}

# close_titled TITLE: one click on the close button of the main window with that title once it stands
# centred; the application must end within 10 s (tests/lib/windows.sh). Sets `status`.
close_titled()
{
    local w
    w=$(wait_for_window "$app_pid" "$1")
    close_main_window "$app_pid" "$w" 10
    status=$close_status
    app_pid=""
}

summary_line()
{
    grep "^$1: " "$work/harness.log" || fail "no summary for $1"
}

builtin_title="$(main_window_title "${QUILLON_APP:?QUILLON_APP is not set}")" || fail "no title for the built-in firmware"
"$harness" --harness-builtin="$work/builtin.syx" > /dev/null 2>&1 || fail "cannot write the built-in image"
[[ "$(stat -c %s "$work/builtin.syx")" -eq 236024 ]] || fail "built-in image of unexpected size"

case "$case" in
    autoupdate)
        # Unattended: output 1, built-in image; the application quits by itself with status 0.
        start_x
        run_harness --autoupdate --outputid 1
        [[ $status -eq 0 ]] || fail "exit status $status after an automatic update"
        cmp "$work/received.syx" "$work/builtin.syx" || fail "the pedal did not receive the built-in image unchanged"
        [[ "$(summary_line "Virtual Pedal")" == "Virtual Pedal: 396 messages, 236024 bytes" ]] || fail "message count"
        [[ "$(summary_line "Virtual Synth")" == "Virtual Synth: 0 messages, 0 bytes" ]] || fail "the synth received something"
        ;;

    autoupdate-file)
        # Output 2 and a file at a path with a blank; the pedal (output 1) receives nothing.
        start_x
        mkdir -p "$work/dir with blank"
        printf '\xf0\x00\x7f\x7f\x51\x01\x10\x00\xf7\xf0\x01\x02\x03\xf7' > "$work/dir with blank/fw.syx"
        run_harness --autoupdate --outputid 2 --file "$work/dir with blank/fw.syx"
        [[ $status -eq 0 ]] || fail "exit status $status after an automatic update"
        [[ "$(summary_line "Virtual Synth")" == "Virtual Synth: 2 messages, 14 bytes" ]] || fail "the synth did not get the file"
        [[ ! -s "$work/received.syx" ]] || fail "the pedal received something"
        ;;

    close-during-upload)
        # The pedal takes 20000 bytes/s (the image would take 12 s); the close button is clicked
        # after 20 messages. The application must end within 5 s of the click, without a crash,
        # having sent whole messages from the start of the image, and report that the unattended
        # update did not complete.
        start_x
        run_harness --harness-rate=20000 --harness-close-after=20 --autoupdate --outputid 1
        closed_in=$(sed -n 's/^closed in \([0-9]*\) ms$/\1/p' "$work/harness.log")
        [[ -n "$closed_in" ]] || fail "the close button was not clicked"
        [[ $closed_in -lt 5000 ]] || fail "the application took $closed_in ms to end after the close button"
        [[ $status -eq 1 ]] || fail "exit status $status after an interrupted automatic update (expected 1)"
        size=$(stat -c %s "$work/received.syx")
        [[ $size -gt 0 && $size -lt 236024 ]] || fail "received $size bytes"
        cmp -n "$size" "$work/received.syx" "$work/builtin.syx" || fail "the bytes received are not the start of the image"
        [[ "$(tail -c 1 "$work/received.syx" | od -An -tx1 | tr -d ' ')" == "f7" ]] || fail "a message was cut"
        ;;

    sigterm-during-upload)
        # SIGTERM after 20 messages (the image would take 12 s at 20000 bytes/s): the upload stops
        # between two messages, the application ends within 5 s and says the update did not
        # complete.
        start_x
        run_harness --harness-rate=20000 --harness-sigterm-after=20 --autoupdate --outputid 1
        stopped_within_5_s "SIGTERM" "SIGTERM"
        grep -qx "Quillon: the update was stopped before it completed\. To repeat the update, start the pedal .* again\." \
            "$work/harness.log" || fail "no line on stderr says why and what to do"
        size=$(stat -c %s "$work/received.syx")
        [[ $size -gt 0 && $size -lt 236024 ]] || fail "received $size bytes"
        cmp -n "$size" "$work/received.syx" "$work/builtin.syx" || fail "the bytes received are not the start of the image"
        ;;

    display-lost-during-upload)
        # The X connection breaks after 20 messages: Xlib would end the process at once; the
        # application first stops the upload between two messages and reports it.
        start_x
        run_harness --harness-rate=20000 --harness-cut-display-after=20 --autoupdate --outputid 1
        stopped_within_5_s "display cut" "losing the display"
        grep -qx "Quillon: the connection to the display was lost" "$work/harness.log" ||
            fail "no line on stderr says the display was lost"
        grep -qx "Quillon: the update was stopped before it completed\. To repeat the update, .*" "$work/harness.log" ||
            fail "no line on stderr says the update did not complete"
        ;;

    no-device)
        # Output 3 does not exist: the warning box is shown, nothing is sent, and the application
        # stays open until it is closed.
        start_x
        start_harness --autoupdate --outputid 3
        box=$(wait_for_window "$app_pid" "")
        stays_running 1
        # The key press closes the box, so the key release may find it gone and xdotool fail; the
        # main window below shows only once the box is dismissed.
        xdotool key --window "$box" Return 2> /dev/null || true
        if ! wait_until_gone "$box" "$app_pid" 5; then
            describe_windows "$app_pid"
            fail "the warning box is still shown 5 s after its key Return"
        fi
        close_titled "$builtin_title"
        [[ $status -eq 3 ]] || fail "exit status $status after an automatic update to no output (expected 3)"
        grep -qx "Quillon: there is no MIDI output 3 (2 outputs); nothing was sent\. Check that the pedal .*" "$work/harness.log" ||
            fail "no line on stderr says why"
        [[ ! -s "$work/received.syx" ]] || fail "something was sent"
        ;;

    damaged-image)
        # A stray byte after the last message: nothing is sent, the status says why, and the
        # application stays open.
        start_x
        printf '\xf0\x01\x02\xf7\x42' > "$work/damaged.syx"
        start_harness --autoupdate --outputid 1 --file "$work/damaged.syx"
        wait_for_window "$app_pid" "damaged version " > /dev/null
        stays_running 1
        close_titled "damaged version "
        [[ $status -eq 2 ]] || fail "exit status $status after a damaged image (expected 2)"
        [[ ! -s "$work/received.syx" ]] || fail "something was sent"
        ;;

    stranded-event)
        # A close request that an Xlib round trip has read into Xlib's queue, with no X traffic
        # after it: the application must still act on it at once (on its own, JUCE would leave it
        # there until the next X event, a mouse move, say).
        start_x
        run_harness --harness-strand-close=1500
        grep -q "^stranded a close request" "$work/harness.log" || fail "no close request was stranded"
        closed_in=$(sed -n 's/^closed in \([0-9]*\) ms$/\1/p' "$work/harness.log")
        [[ -n "$closed_in" ]] || fail "no time from the close request to the end"
        [[ $closed_in -lt 2000 ]] || fail "the application took $closed_in ms to act on the close request"
        [[ $status -eq 0 ]] || fail "exit status $status after a close in manual mode"
        ;;

    no-window)
        # The update without a window and with no X server: stderr is a file here, so the progress
        # comes as plain lines (the first at once, then every 5 s) and a last line names the outcome.
        run_harness --harness-rate=20000 --no-window --output "virtual pedal"
        [[ $status -eq 0 ]] || fail "exit status $status after an update without a window"
        cmp "$work/received.syx" "$work/builtin.syx" || fail "the pedal did not receive the built-in image unchanged"
        # About 12 s at this rate: a line at the first look, then one every 5 s, and the last.
        lines=$(grep -cE '^ {0,2}[0-9]{1,3}%  [0-9]+ of 236024 bytes  [0-9]+ of 396 messages  [0-9]+:[0-9]{2} left$' \
            "$work/harness.log" || true)
        ((lines >= 3 && lines <= 5)) || fail "$lines progress lines in the log"
        grep -qx "100%  236024 of 236024 bytes  396 of 396 messages  0:00 left" "$work/harness.log" ||
            fail "no last progress line"
        ! grep -q $'\r' "$work/harness.log" || fail "a line was redrawn in place in a log"
        [[ "$(grep '^Quillon: ' "$work/harness.log")" == "Quillon: the update completed" ]] ||
            fail "the last line does not say the update completed"
        ;;

    no-window-sigterm)
        # SIGTERM after 20 messages of an update without a window: the upload stops between two
        # messages, the program ends within 5 s with status 1 and says why.
        run_harness --harness-rate=20000 --harness-sigterm-after=20 --no-window --outputid 1
        stopped_within_5_s "SIGTERM" "SIGTERM"
        grep -q "^Quillon: the update was stopped before it completed" "$work/harness.log" ||
            fail "no line on stderr says why"
        size=$(stat -c %s "$work/received.syx")
        [[ $size -gt 0 && $size -lt 236024 ]] || fail "received $size bytes"
        cmp -n "$size" "$work/received.syx" "$work/builtin.syx" || fail "the bytes received are not the start of the image"
        [[ "$(tail -c 1 "$work/received.syx" | od -An -tx1 | tr -d ' ')" == "f7" ]] || fail "a message was cut"
        ;;

    *)
        fail "unknown case $case"
        ;;
esac
echo "PASS: $case"
