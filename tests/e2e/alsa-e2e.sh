#!/usr/bin/env bash
# End-to-end tests of the shipped application against real ALSA MIDI (snd-virmidi ports):
#   alsa-e2e.sh CASE --app QUILLON --receiver PACED_RECEIVER --tool E2E_TOOL --out DIR
# The application sends through the sequencer port "VirMIDI C-0"; PacedMidiReceiver reads the
# other side of that port (rawmidi hw:C,0) the way a device would, and writes what arrives to a
# file. Every case runs its own Xvfb.
#
# Exit status 77 means "skipped": there is no ALSA sequencer with snd-virmidi ports here. With
# QUILLON_ALSA_REQUIRED=1 (set where the ports must exist, e.g. inside the alsa-vm guest) that is
# a failure instead.
#
# QUILLON_E2E_START_SECONDS gives a slow-starting application (the Windows program under Wine in
# the guest, tests/windows/quillon-wine.sh) that much more time, and a fifth of it more to close.
# QUILLON_E2E_NO_REPAINTS=1 leaves out the checks of what the window shows after its first paint,
# for an application whose own repaints never reach the screen: the Windows program under Wine 8,
# where JUCE 7.0.5 repaints only after IDXGIOutput::WaitForVBlank, a stub there (an Expose does
# not help: Wine redraws from its copy of the window without asking the program).
#
# The case "unpaced_build_loses_bytes" needs QUILLON_UNPACED_APP: the application built with
# -DQUILLON_WIRE_PACING=OFF. It checks that this receiver does see the loss the wire-time wait
# prevents, i.e. that the other cases could fail.
#
# The cases usb_* send to a real USB MIDI device instead: the alsa-vm guest's (--usb-midi), where
# the real snd-usb-audio driver serves the device's host side and PacedMidiReceiver reads what the
# device receives on its gadget side (the f_midi card). They unplug and re-plug it with
# usb-midi-plug. Without such a device they are skipped, or fail with QUILLON_USB_MIDI_REQUIRED=1.
#
# The cases *terminal_* run the update without a window (--no-window) and with no display at all:
# no Xvfb, DISPLAY unset, stderr to a file as in a log. QUILLON_E2E_TERMINAL_DESKTOP=1 gives the
# program a display all the same, as Windows gives every program a desktop (the Windows program
# under Wine).
set -euo pipefail
# shellcheck source=../lib/xvfb.sh
source "$(dirname "${BASH_SOURCE[0]}")/../lib/xvfb.sh"
# shellcheck source=../lib/windows.sh
source "$(dirname "${BASH_SOURCE[0]}")/../lib/windows.sh"

case_name="${1:?case}"
shift
app="" receiver="" tool="" out=""
while [[ $# -gt 0 ]]; do
    case "$1" in
        --app) app="$2" ;;
        --receiver) receiver="$2" ;;
        --tool) tool="$2" ;;
        --out) out="$2" ;;
        *) echo "alsa-e2e.sh: unknown option $1" >&2; exit 2 ;;
    esac
    shift 2
done

skip() {
    if [[ "${QUILLON_ALSA_REQUIRED:-0}" == 1 ]]; then
        fail "$* (QUILLON_ALSA_REQUIRED=1: not skipping)"
    fi
    echo "SKIP: $*"
    exit 77
}

# Seconds the application may take to start on top of the usual allowance (Wine in the guest).
start_allowance="${QUILLON_E2E_START_SECONDS:-0}"

log() { echo "[$(date +%T.%N | cut -c1-12)] $*"; }

# ---------------------------------------------------------------- ALSA
usb=0
[[ "$case_name" == usb_* ]] && usb=1
if ((usb)); then
    # usb-midi-plug status: state=on|off, host_card=H host_client=C, gadget_card=G gadget_client=D
    if ! command -v usb-midi-plug > /dev/null || ! usb_status="$(usb-midi-plug status 2> /dev/null)"; then
        if [[ "${QUILLON_USB_MIDI_REQUIRED:-0}" == 1 ]]; then
            fail "no USB MIDI device with usb-midi-plug (QUILLON_USB_MIDI_REQUIRED=1: the alsa-vm guest must run with --usb-midi)"
        fi
        echo "SKIP: no USB MIDI device (./scripts/test-alsa.sh runs these cases in the alsa-vm guest, which has one)"
        exit 77
    fi
    eval "$usb_status"
    if [[ "$state" != on ]]; then
        usb-midi-plug on > /dev/null || fail "cannot plug the USB MIDI device back in"
        eval "$(usb-midi-plug status)"
    fi
    [[ -n "${gadget_card:-}" && -n "${host_client:-}" ]] || fail "usb-midi-plug status is incomplete: $usb_status"
    rawmidi="hw:${gadget_card},0"
elif [[ -r /dev/snd/seq ]] && card="$(awk '/\[VirMIDI *\]/ { print $1; exit }' /proc/asound/cards 2>/dev/null)" &&
    [[ -n "$card" && -e "/dev/snd/midiC${card}D0" ]]; then
    port_name="VirMIDI ${card}-0"
    rawmidi="hw:${card},0"
else
    skip "no ALSA sequencer with snd-virmidi ports (run 'sudo modprobe snd-virmidi', or ./scripts/test-alsa.sh to use the alsa-vm guest)"
fi

for tool_needed in Xvfb xdotool import convert cmp; do
    command -v "$tool_needed" > /dev/null || fail "$tool_needed is missing (./scripts/install-deps.sh installs it)"
done
for f in "$app" "$receiver" "$tool"; do
    [[ -x "$f" ]] || fail "not an executable: '$f'"
done

if ((usb)); then
    # The device's port as JUCE names it: its sequencer port host_client:0.
    port_name="$("$app" --list-outputs | awk -F'\t' -v id="$host_client-0" '$3 == id { sub(/ +$/, "", $2); print $2; exit }')"
    [[ -n "$port_name" ]] || fail "the USB MIDI device ($host_client-0) is not in JUCE's output list: $("$app" --list-outputs)"
fi

rm -rf "$out"
mkdir -p "$out"
out="$(cd "$out" && pwd)"

# ---------------------------------------------------------------- processes
app_pid="" receiver_pid="" xvfb_pid="" usb_unplugged=0
cleanup() {
    local pid
    for pid in $app_pid $receiver_pid $xvfb_pid; do
        kill "$pid" 2> /dev/null || true
    done
    # The next case expects the USB device plugged in.
    if ((usb_unplugged)); then
        usb-midi-plug on > /dev/null || echo "could not plug the USB MIDI device back in"
    fi
    # CTest looks for JUCE assertions and leak reports in the output.
    if [[ -s "$out/app.log" ]]; then
        echo "--- application output ($out/app.log) ---"
        cat "$out/app.log"
    fi
}
trap cleanup EXIT

close_main_window() { "$tool" close-window "$window"; }
terminate_app() { kill -TERM "$app_pid"; }
interrupt_app() { kill -INT "$app_pid"; }

# close_app: asks the application's window to close, as a window manager's close button does, and
# waits at most 10 s (a slow application more) for the process to end; sets rc to its exit status
# (124: still running).
close_app() {
    close_main_window
    rc=0
    wait_for_exit "$app_pid" $((10 + start_allowance / 5)) || rc=$?
    app_pid=""
}

# The cases' X server: 1024 x 768 (the window's expected place depends on it), up to 60 s to come
# up in a slow guest, with the window manager's atoms the close request uses.
start_display() {
    start_xvfb "$out" 1024x768 60 || fail "Xvfb did not start (see $out/xvfb.out)"
    "$tool" intern-wm-atoms || fail "cannot reach Xvfb on $DISPLAY"
}

# start_receiver: starts the paced receiver on the port's rawmidi side and returns once it is open
# and reading (events sent before that would be dropped). It runs until stop_receiver.
start_receiver() {
    rm -f "$out/ready"
    "$receiver" --device "$rawmidi" --output "$out/capture.syx" --arrivals "$out/arrivals.txt" \
        --ready "$out/ready" --start-timeout-ms 3600000 --idle-ms 3600000 > "$out/receiver.log" 2>&1 &
    receiver_pid=$!
    wait_until 30 test -e "$out/ready" || fail "the receiver did not get ready: $(cat "$out/receiver.log")"
}

# stop_receiver: called once the application has ended. The receiver takes what is still waiting in
# its buffer and stops: the capture is then all the application sent, since the kernel has moved
# everything a sequencer client wrote into the port (for a USB device, over the bus) by the time
# the client's process is gone. No observation time is needed.
stop_receiver() {
    kill -TERM "$receiver_pid" 2> /dev/null || true
    wait_for_exit "$receiver_pid" 30 || fail "the receiver failed: $(cat "$out/receiver.log")"
    receiver_pid=""
    cat "$out/receiver.log"
}

# The item id of the port in the application's output selector: its 1-based position in JUCE's
# output list (JUCE lists the sequencer's ports in client order; in the guest that is
# "Midi Through Port-0", then "VirMIDI 0-0"), as the application's --list-outputs numbers it.
output_id() {
    local id
    # Windows line ends (the Windows program under Wine) are dropped.
    "$app" --list-outputs > "$out/outputs.raw" || fail "--list-outputs ended with status $?"
    tr -d '\r' < "$out/outputs.raw" > "$out/outputs.txt"
    id="$(awk -F'\t' -v name="$port_name" '{ sub(/ +$/, "", $2) } $2 == name { print $1; exit }' "$out/outputs.txt")"
    [[ -n "$id" ]] || fail "'$port_name' is not in JUCE's output list: $(cat "$out/outputs.txt")"
    echo "$id"
}

# start_app BINARY ARGUMENTS...
start_app() {
    local binary="$1"
    shift
    log "starting: $(basename "$binary") $*"
    "$binary" "$@" > "$out/app.log" 2>&1 &
    app_pid=$!
}

# The application's main window: prints its id once it shows.
# By its title "<product> version ...", on this case's own X server: under Wine the drop shadows
# around the main window are visible windows of the same process, and the process is not the one
# started here (tests/windows/quillon-wine.sh runs it through a launcher).
main_window_shown() {
    local w
    kill -0 "$app_pid" 2> /dev/null || fail "the application ended early: $(tail -n 20 "$out/app.log")"
    w="$(xdotool search --onlyvisible --name ' version' 2> /dev/null | head -n1 || true)"
    [[ -n "$w" ]] && echo "$w"
}
app_window() {
    wait_until $((60 + start_allowance)) main_window_shown || fail "the application's window did not appear"
}

# The selector's open list: a visible window of the application besides the main window.
list_is_open() { xdotool search --onlyvisible --pid "$app_pid" 2> /dev/null | grep -qvx "$window"; }
list_is_closed() { ! list_is_open; }

file_size() { stat -c %s "$1"; }

# The open list's height in pixels: one row more for each output it offers.
list_height() {
    local w
    w="$(xdotool search --onlyvisible --pid "$app_pid" 2> /dev/null | grep -vx "$window" | head -n1)"
    [[ -n "$w" ]] || fail "the output list is not open"
    xdotool getwindowgeometry --shell "$w" | awk -F= '$1 == "HEIGHT" { print $2 }'
}

now_ms() { date +%s%3N; }

# Kernel messages of snd-seq-midi when a SysEx event did not fit the port's output buffer.
overrun_reports() { dmesg 2> /dev/null | grep -c 'seq_midi: MIDI output buffer overrun' || true; }

# Bytes of the rawmidi capture so far (the receiver flushes after every read).
captured() { [[ -e "$out/capture.syx" ]] && file_size "$out/capture.syx" || echo 0; }

captured_at_least() { (($(captured) >= $1)); }

message_count() { LC_ALL=C tr -cd '\360' < "$1" | wc -c; }

wire_seconds() { echo $(($(file_size "$1") * 320 / 1000000 + 1)); }

# expect_capture_is_cut FILE: the capture is the start of FILE, not all of it.
expect_capture_is_cut() {
    local got
    got="$(captured)"
    ((got < $(file_size "$1"))) || fail "the whole image arrived: the upload was not interrupted"
    cmp -s -n "$got" "$1" "$out/capture.syx" || fail "the capture ($got bytes) is not the start of the image"
}

ends_with_f7() { [[ "$(tail -c1 "$1" | od -An -tx1 | tr -d ' ')" == f7 ]]; }

# expect_capture_equals FILE: the receiver got FILE byte for byte.
expect_capture_equals() {
    local sent="$1" got
    got="$(file_size "$out/capture.syx")"
    if ! cmp -s "$sent" "$out/capture.syx"; then
        cmp "$sent" "$out/capture.syx" || true
        fail "the capture differs from the $(file_size "$sent") bytes sent ($got bytes arrived)"
    fi
    log "capture equals the $(file_size "$sent") bytes sent ($(message_count "$sent") messages)"
}

# pixel X Y: the colour at screen position X,Y of the last screenshot, as "r,g,b".
pixel() {
    convert "$out/screen.png" -crop "1x1+$1+$2" -depth 8 txt:- | awk 'NR == 2 { print $2 }' | tr -d '()' |
        cut -d, -f1-3
}

# Geometry of the main window: X, Y (its top-left corner on the screen), WIDTH, HEIGHT, and where
# its panel starts on the screen (panel_x, panel_y; tests/lib/layout.sh).
window_geometry() {
    eval "$(xdotool getwindowgeometry --shell "$1")"
    [[ $WIDTH -eq $main_width && $HEIGHT -eq $main_height ]] ||
        fail "the window is ${WIDTH}x$HEIGHT, not ${main_width}x$main_height"
    panel_x=$((X + panel_offset_x))
    panel_y=$((Y + panel_offset_y))
}

# status_text_width WINDOW: width in pixels of the text in the progress label's row (above the
# progress bar), from the last screenshot.
status_text_width() {
    window_geometry "$1"
    convert "$out/screen.png" -crop "560x28+$((panel_x + status_row[0]))+$((panel_y + status_row[1] + 1))" +repage \
        -fuzz 25% -trim -format '%w' info:
}

# button_is red|green: the update button's colour (light red: not ready; light green: ready).
button_is() {
    screenshot current
    local r g
    IFS=, read -r r g _ <<< "$(pixel "$button_x" "$row_y")"
    if [[ $1 == green ]]; then ((g > r + 30)); else ((r > g + 30)); fi
}

# The progress bar is filled to its right end: that end has the filled part's colour (that of its
# left end) and no longer the empty bar's.
bar_is_full() {
    screenshot current
    local right
    right="$(pixel "$bar_right" "$row_y")"
    [[ "$right" == "$(pixel "$bar_left" "$row_y")" && "$right" != "$bar_empty" ]]
}

screenshot() {
    import -window root "$out/$1.png"
    cp "$out/$1.png" "$out/screen.png"
}

# show_panel: starts the application with the test image (no automatic update) and waits until its
# window stands centred on the 1024 x 768 screen (clicks only then) with the update button light red
# (nothing chosen yet). Sets the click points from the panel's layout (tests/lib/layout.sh): the
# middle of the selector, a point of the update button clear of its text, and both ends of the
# progress bar's row.
show_panel() {
    local x y
    start_app "$app" --file "$image"
    window="$(app_window)"
    wait_until_centred "$window" 120
    window_geometry "$window"
    read -r x y <<< "$(centre_of selector)"
    selector_x=$((panel_x + x)) selector_y=$((panel_y + y))
    read -r x y <<< "$(centre_of update_button)"
    button_x=$((panel_x + update_button[0] + 10)) row_y=$((panel_y + y))
    # The bar is filled at its right end only at 100 %.
    bar_left=$((panel_x + progress_bar[0] + 6)) bar_right=$((panel_x + progress_bar[0] + progress_bar[2] - 4))
    wait_until 30 button_is red || fail "the update button is not light red before a port is chosen"
    screenshot before
    bar_empty="$(pixel "$bar_right" "$row_y")"
}

# open_list: one click on the selector opens its list, a window of its own. A slow guest may take
# seconds to show it, and keys sent before that would land in the selector, so callers wait for
# it; a click without effect fails the case.
open_list() {
    xdotool mousemove "$selector_x" "$selector_y" click 1
    if ! wait_until 60 list_is_open; then
        screenshot list-not-open
        fail "the output list did not open (windows: $(xdotool search --onlyvisible --pid "$app_pid" | tr '\n' ' '))"
    fi
    log "the output list is open"
}

# choose_port ID: with the output list open, chooses from the keyboard (the list's own layout is the
# look-and-feel's business): closes the list, then steps from "(Disconnected)" down to position ID.
choose_port() {
    xdotool key Escape
    wait_until 30 list_is_closed || fail "the output list did not close on Escape"
    for _ in $(seq 1 "$1"); do
        xdotool key Down
    done
    wait_until 20 button_is green || fail "choosing '$port_name' did not make the update button ready"
    screenshot selected
    log "'$port_name' chosen; the update button is ready"
}

# update_with_button: one click on the update button; the whole image must arrive and the progress
# bar end full; closing the window then gives status 0, and nothing more was sent.
update_with_button() {
    xdotool mousemove "$button_x" "$row_y" click 1
    wait_until 60 captured_at_least 1 || fail "nothing arrived 60 s after the click on the update button"
    wait_until $(($(wire_seconds "$image") * 2 + 60)) captured_at_least "$(file_size "$image")" ||
        fail "only $(captured) of $(file_size "$image") bytes arrived"
    wait_until 20 bar_is_full || fail "the progress bar did not end full"
    screenshot after
    log "the progress bar is full"
    close_app
    stop_receiver
    expect_capture_equals "$image"
    [[ $rc -eq 0 ]] || fail "closing the window after the update gave status $rc"
}

# interrupt_upload MODE WHAT COMMAND...: once an unattended update is under way (MODE: window, or
# terminal for the update without a window), runs COMMAND (WHAT names it; COMMAND runs only then, so
# it may use $app_pid and $window). The application must end within 5 s with status 1 (stopped) and
# say so on stderr, and the device must have got the start of the image in whole messages.
interrupt_upload() {
    local mode="$1" what="$2" start_ms took_ms
    shift 2
    if [[ $mode == window ]]; then
        start_autoupdate "$app" --file "$image"
        window="$(app_window)"
    else
        start_terminal_update "$image"
    fi
    wait_until 120 captured_at_least 4000 || fail "the upload did not start: $(tail -n 20 "$out/app.log")"
    "$@"
    start_ms=$(now_ms)
    rc=0
    wait_for_exit "$app_pid" 10 || rc=$?
    app_pid=""
    [[ $rc -ne 124 ]] || fail "the application was still running 10 s after $what"
    took_ms=$(($(now_ms) - start_ms))
    log "the application ended $took_ms ms after $what, with status $rc"
    ((took_ms <= 5000)) || fail "the application took $took_ms ms to end after $what"
    stop_receiver
    expect_capture_is_cut "$image"
    ends_with_f7 "$out/capture.syx" || fail "the capture ends in the middle of a message ($(captured) bytes)"
    [[ $rc -eq 1 ]] || fail "$what during an unattended update ($mode) gave status $rc, not 1 (stopped)"
    if [[ $mode == window ]]; then
        grep -q "^Quillon: " "$out/app.log" || fail "no line 'Quillon: ...' on the application's stderr"
    else
        expect_final_line "stopped"
    fi
    log "interrupted by $what: $(captured) bytes = $(message_count "$out/capture.syx") complete messages"
}

# box_window TITLE: the id of the visible window with exactly that title (a message box); none: 1.
box_window() {
    xdotool search --onlyvisible --name "^$1\$" 2> /dev/null | head -n1 | grep .
}

# dismiss_box TITLE: presses Return (the box's one button) once, as a user would, while the box has
# the keyboard focus, and waits until it is gone. The key is typed on the keyboard (XTEST): JUCE may
# replace a box's X window while it sets the box up.
dismiss_box() {
    local title="$1"
    box_has_focus() { [[ "$(xdotool getwindowfocus 2> /dev/null)" == "$(box_window "$title")" ]]; }
    wait_until 60 box_has_focus || fail "the message box '$title' did not get the keyboard focus"
    xdotool key Return
    box_gone() { ! box_window "$title" > /dev/null; }
    wait_until 60 box_gone || fail "the message box '$title' is still shown after its key Return"
}

# usb_replug_receiver: after the device has been plugged in again, the receiver reads its new
# gadget side from the start, with an empty capture.
usb_replug_receiver() {
    eval "$(usb-midi-plug status)"
    [[ "$state" == on && -n "${gadget_card:-}" ]] || fail "the USB MIDI device is not back: $(usb-midi-plug status)"
    rawmidi="hw:${gadget_card},0"
    mv "$out/capture.syx" "$out/capture-before.syx"
    start_receiver
}

# Milliseconds from the first byte that reached the device to the last (the receiver's arrivals).
arrival_span_ms() { awk 'NR == 1 { first = $2 } { last = $2 } END { printf "%d", (last - first) / 1000000 }' "$out/arrivals.txt"; }

# Bytes of the last message of a file (from its last F0).
last_message_bytes() {
    local offset
    offset="$(LC_ALL=C grep -obUa $'\xf0' "$1" | tail -n1 | cut -d: -f1)"
    echo $(($(file_size "$1") - offset))
}

# ---------------------------------------------------------------- cases
image="$out/image.syx"
"$tool" write-image "$image" 40

# start_autoupdate APP [ARGS...]: on an X server of its own, APP --autoupdate --outputid PORT ARGS
# with the receiver on the port.
start_autoupdate() {
    local application="$1" id
    shift
    start_display
    id="$(output_id)"
    start_receiver
    start_app "$application" --autoupdate --outputid "$id" "$@"
}

# autoupdate_case APP SENT [ARGS...]: start_autoupdate APP ARGS; returns once the application has
# quit by itself (see update_ended).
autoupdate_case() {
    local application="$1" sent="$2"
    shift 2
    start_autoupdate "$application" "$@"
    update_ended "$sent"
}

# update_ended SENT: waits for an unattended update of SENT to end (the application must quit by
# itself within twice the wire time and a margin), sets rc to its status and stops the receiver.
update_ended() {
    rc=0
    wait_for_exit "$app_pid" $(($(wire_seconds "$1") * 2 + 90 + start_allowance)) || rc=$?
    app_pid=""
    [[ $rc -ne 124 ]] || fail "the application did not quit after the update: $(tail -n 20 "$out/app.log")"
    log "the application quit with status $rc"
    stop_receiver
}

# expect_completed SENT: SENT arrived byte for byte, and the application said so with status 0.
expect_completed() {
    expect_capture_equals "$1"
    [[ $rc -eq 0 ]] || fail "exit status $rc after a completed automatic update"
}

# start_terminal_update IMAGE [ARGS...]: with the receiver on the port, the update without a window
# and without a display (DISPLAY unset), the output by name, stderr to the log app.log.
start_terminal_update() {
    local sent="$1" without=(-u DISPLAY) where="no display"
    shift
    # Windows always has a desktop, even where no window is shown: the Windows program under Wine
    # gets an X display as its desktop (without one, Wine hung in that program's upload here).
    if [[ "${QUILLON_E2E_TERMINAL_DESKTOP:-0}" == 1 ]]; then
        start_display
        without=()
        where="a desktop, no window"
    fi
    start_receiver
    log "starting: $(basename "$app") --no-window --output '$port_name' $* --file $sent ($where)"
    env "${without[@]}" "$app" --no-window --output "$port_name" "$@" --file "$sent" > "$out/stdout.log" 2> "$out/app.log" &
    app_pid=$!
}

# The progress lines of a log: " 42%  99136 of 236024 bytes  166 of 396 messages  0:44 left".
progress_line_pattern='^ {0,2}[0-9]{1,3}%  [0-9]+ of [0-9]+ bytes  [0-9]+ of [0-9]+ messages  [0-9:]+ left$'

# expect_final_line TEXT: the log's last line is "Quillon: " and names the outcome (TEXT, a regex).
expect_final_line() {
    local last
    last="$(tail -n 1 "$out/app.log")"
    [[ "$last" =~ ^Quillon:\ .*$1 ]] || fail "the last line on stderr is '$last', not 'Quillon: ...$1...'"
    log "final line: $last"
}

case "$case_name" in
    autoupdate_file | usb_autoupdate_file)
        autoupdate_case "$app" "$image" --file "$image"
        expect_completed "$image"
        ;;

    autoupdate_builtin)
        builtin="$out/builtin.syx"
        "$tool" write-builtin-image "$builtin" || fail "cannot write the built-in image"
        [[ "$(file_size "$builtin")" -eq 236024 && "$(message_count "$builtin")" -eq 396 ]] ||
            fail "the built-in image is not 236024 bytes in 396 messages"
        autoupdate_case "$app" "$builtin"
        expect_completed "$builtin"
        ;;

    output_by_name)
        # The port by its name, beside an --outputid that names another output: the name wins.
        start_display
        id="$(output_id)"
        start_receiver
        start_app "$app" --autoupdate --outputid $((id == 1 ? 2 : 1)) --output "$port_name" --file "$image"
        update_ended "$image"
        expect_completed "$image"
        ;;

    unpaced_build_loses_bytes)
        unpaced="${QUILLON_UNPACED_APP:-}"
        [[ -n "$unpaced" ]] || skip "QUILLON_UNPACED_APP is not set (a build with -DQUILLON_WIRE_PACING=OFF)"
        [[ -x "$unpaced" ]] || fail "QUILLON_UNPACED_APP is not an executable: $unpaced"
        # The file case with the built-in image as the file: its 396 messages outrun the receiver
        # even where the application runs slowly (an emulated guest, a Debug build).
        "$tool" write-builtin-image "$out/builtin.syx" || fail "cannot write the built-in image"
        autoupdate_case "$unpaced" "$out/builtin.syx" --file "$out/builtin.syx"
        if cmp -s "$out/builtin.syx" "$out/capture.syx"; then
            fail "without the wire-time wait every byte still arrived: this receiver cannot see loss"
        fi
        log "without the wire-time wait $(captured) of $(file_size "$out/builtin.syx") bytes arrived: the loss is visible"
        ;;

    damaged_file)
        # The last message has lost its closing F7: nothing may be sent at all.
        damaged="$out/damaged.syx"
        head -c $(($(file_size "$image") - 1)) "$image" > "$damaged"
        start_autoupdate "$app" --file "$damaged"
        window="$(app_window)"
        wait_until_centred "$window" 120
        # The status line above the progress bar: "Update progress: Upload stopped: the firmware
        # image is damaged" is far wider than the label with no status or "Uploading firmware".
        if [[ "${QUILLON_E2E_NO_REPAINTS:-0}" == 1 ]]; then
            # No status can show here: far longer than the first message's wire time instead, so
            # that anything sent would be in the receiver's buffer by the close.
            sleep 4
            log "the window is open (its status line is not checked: no repaints here)"
        else
            status_shown() { screenshot current && (($(status_text_width "$window") > 350)); }
            wait_until 60 status_shown || fail "no status shown above the progress bar" \
                "(text $(status_text_width "$window") pixels wide)"
            log "the window is open and shows a status $(status_text_width "$window") pixels wide"
        fi
        kill -0 "$app_pid" 2> /dev/null || fail "the application quit after a damaged image"
        screenshot damaged
        close_app
        stop_receiver
        [[ "$(captured)" -eq 0 ]] || fail "$(captured) bytes of a damaged image were sent"
        # An unattended update that did not complete must not end as a success.
        [[ $rc -eq 2 ]] || fail "closing the window after a damaged image gave status $rc, not 2"
        log "nothing was sent; status 2"
        ;;

    missing_file)
        # An unattended update of a file that is not there: a message box says so, nothing is sent,
        # and closing the window gives status 2. (Under Wine a crash once passed for status 5, "another
        # instance": the exception's code cut to 8 bits.)
        missing="$out/missing.syx"
        start_autoupdate "$app" --file "$missing"
        box=""
        for _ in $(seq 1 $((300 + start_allowance * 5))); do
            box="$(xdotool search --onlyvisible --name ' not found$' 2> /dev/null | head -n1 || true)"
            [[ -n "$box" ]] && break
            kill -0 "$app_pid" 2> /dev/null || fail "the application ended before its message box: $(tail -n 20 "$out/app.log")"
            sleep 0.2
        done
        [[ -n "$box" ]] || fail "no message box titled '... not found'"
        log "message box: $(xdotool getwindowname "$box")"
        [[ "$(xdotool getwindowname "$box")" == "File "*"$missing not found" ]] ||
            fail "the message box does not name the file: $(xdotool getwindowname "$box")"
        # Its close request, as a window manager's close button sends it, dismisses it as "ok" does.
        "$tool" close-window "$box"
        window="$(app_window)"
        wait_until_placed "$window" 187 184 650 400 120
        close_app
        stop_receiver
        [[ "$(captured)" -eq 0 ]] || fail "$(captured) bytes were sent although the file is missing"
        grep -q "^Quillon: the firmware file .*missing.syx could not be found; nothing was sent" "$out/app.log" ||
            fail "no line 'Quillon: the firmware file ... could not be found; nothing was sent' on stderr"
        [[ $rc -eq 2 ]] || fail "closing the window after a missing file gave status $rc, not 2"
        log "nothing was sent; status 2"
        ;;

    no_display)
        # No X server at all, and the window asked for (an unattended update would run in the
        # terminal instead): the application must say so and end with status 1 before any window
        # (under Wine, which still reports a display then, JUCE's first window used to crash).
        unset DISPLAY
        start_app "$app" --file "$image"
        rc=0
        wait_for_exit "$app_pid" $((30 + start_allowance)) || rc=$?
        app_pid=""
        [[ $rc -ne 124 ]] || fail "the application without a display still ran after $((30 + start_allowance)) s"
        grep -q "^Quillon: no graphical display available" "$out/app.log" ||
            fail "no line 'Quillon: no graphical display available ...' on stderr"
        [[ $rc -eq 1 ]] || fail "without a display the status is $rc, not 1"
        log "no display: status 1, $(grep -m1 '^Quillon: ' "$out/app.log" | tr -d '\r')"
        ;;

    close_mid_upload)
        interrupt_upload window "the close request" close_main_window
        ;;

    manual_selection)
        # The user's way: pick the port in the output selector, press update, watch the bar.
        start_display
        id="$(output_id)"
        start_receiver
        show_panel
        open_list
        screenshot selector-open
        choose_port "$id"
        update_with_button
        ;;

    usb_long_messages)
        # Two messages far longer than the 4 KB output buffer of the device's sequencer port, with
        # a short one between them.
        "$tool" write-image "$out/long.syx" 2 10000 || fail "cannot write the long messages"
        "$tool" write-image "$out/short.syx" 1 || fail "cannot write the short message"
        long="$out/long-messages.syx"
        { head -c 10000 "$out/long.syx" && cat "$out/short.syx" && tail -c 10000 "$out/long.syx"; } > "$long"
        overruns_before="$(overrun_reports)"
        autoupdate_case "$app" "$long" --file "$long"
        overruns=$(($(overrun_reports) - overruns_before))
        ((overruns == 0)) || log "the kernel reported $overruns MIDI output buffer overruns (snd-seq-midi)"
        expect_completed "$long"
        ;;

    usb_plug_late)
        # Quillon starts while the device is unplugged; plugged in, it must appear in the selector
        # by itself, and the user's way (click, choose, update) must then deliver the image.
        usb-midi-plug off > /dev/null || fail "cannot unplug the USB MIDI device"
        usb_unplugged=1
        start_display
        "$app" --list-outputs > "$out/outputs-unplugged.txt"
        if awk -F'\t' -v name="$port_name" '{ sub(/ +$/, "", $2) } $2 == name { found = 1 } END { exit !found }' \
            "$out/outputs-unplugged.txt"; then
            fail "'$port_name' is still listed with the device unplugged"
        fi
        start_receiver
        show_panel

        # The list as it was at start, without the device.
        open_list
        height_unplugged="$(list_height)"
        screenshot list-unplugged
        xdotool key Escape
        wait_until 30 list_is_closed || fail "the output list did not close on Escape"

        usb-midi-plug on > /dev/null || fail "cannot plug the USB MIDI device in"
        plugged_ms=$(now_ms)
        usb_unplugged=0
        # The application looks for new devices every half second: one such interval after the
        # device is there (usb-midi-plug returns once its sequencer client exists), it is listed.
        sleep 0.5
        clicked_after_ms=$(($(now_ms) - plugged_ms))
        open_list
        listed_after_ms=$(($(now_ms) - plugged_ms))
        height_plugged="$(list_height)"
        screenshot list-plugged
        ((height_plugged > height_unplugged)) ||
            fail "'$port_name' is not in the output list opened by a click $clicked_after_ms ms after it was" \
                "plugged in (open $listed_after_ms ms after; $height_plugged pixels high, as before)"
        log "'$port_name' is in the output list opened by a click $clicked_after_ms ms after it was plugged in" \
            "(open $listed_after_ms ms after; $height_unplugged -> $height_plugged pixels high)"
        choose_port "$(output_id)"
        update_with_button
        ;;

    usb_unplug_mid_update)
        # The cable is pulled during an unattended update: the update must not pass for completed.
        # Four times the usual image (about 19 s on the wire): under load the unplug takes seconds
        # to take effect, and the upload must still be running then.
        long_image="$out/long-image.syx"
        "$tool" write-image "$long_image" 160
        start_autoupdate "$app" --file "$long_image"
        window="$(app_window)"
        # Early (the second message is under way): unplugging takes a while in a busy guest.
        wait_until 120 captured_at_least 600 || fail "the upload did not start"
        log "unplugging after $(captured) bytes"
        usb-midi-plug off > /dev/null || fail "cannot unplug the USB MIDI device"
        usb_unplugged=1
        log "unplugged after $(captured) bytes"

        # The window stays open and says why ("Upload stopped: the output device was
        # disconnected" is far wider than "Uploading firmware" or "Update completed").
        deadline=$((SECONDS + 30))
        while true; do
            if ! kill -0 "$app_pid" 2> /dev/null; then
                rc=0
                wait "$app_pid" || rc=$?
                app_pid=""
                fail "the application quit by itself with status $rc after the device was unplugged" \
                    "mid-update: $(tail -n 5 "$out/app.log")"
            fi
            screenshot current
            # (The window may have gone since the check above; the next round reports that.)
            xdotool getwindowgeometry "$window" > /dev/null 2>&1 && (($(status_text_width "$window") > 350)) && break
            ((SECONDS < deadline)) || fail "no status shown 30 s after the device was unplugged"
            sleep 0.2
        done
        screenshot unplugged
        log "the window shows a status $(status_text_width "$window") pixels wide"

        # Plugged in again, the device must get nothing more from this update.
        usb-midi-plug on > /dev/null || fail "cannot plug the USB MIDI device back in"
        usb_unplugged=0
        close_app
        [[ $rc -ne 124 ]] || fail "the application was still running 10 s after the close request"
        stop_receiver
        expect_capture_is_cut "$long_image"
        ! grep -q "Update completed" "$out/app.log" || fail "the application says \"Update completed\""
        grep -q "^Quillon: .*disconnected" "$out/app.log" ||
            fail "no line 'Quillon: ...disconnected...' on the application's stderr"
        [[ $rc -eq 4 ]] || fail "closing the window after the device was lost gave status $rc, not 4"
        log "device lost after $(captured) bytes; status 4: $(grep -m1 '^Quillon: ' "$out/app.log")"
        ;;

    usb_unplug_manual)
        # The user's way, and the cable pulled mid-update: a message box says what happened and what
        # to do; plugged in again the pedal is chosen by itself and the button turns green, and one
        # press sends the whole image. Four times the usual image, as in usb_unplug_mid_update.
        image="$out/long-image.syx"
        "$tool" write-image "$image" 160
        start_display
        id="$(output_id)"
        start_receiver
        show_panel
        open_list
        choose_port "$id"
        xdotool mousemove "$button_x" "$row_y" click 1
        wait_until 120 captured_at_least 600 || fail "the upload did not start"
        usb-midi-plug off > /dev/null || fail "cannot unplug the USB MIDI device"
        usb_unplugged=1
        log "unplugged after $(captured) bytes"

        box_title="The connection to the pedal was lost"
        wait_until 60 box_window "$box_title" > /dev/null || fail "no message box '$box_title' after the unplug"
        screenshot lost-box
        kill -0 "$app_pid" 2> /dev/null || fail "the application ended after the device was lost"
        log "the message box '$box_title' is shown"
        dismiss_box "$box_title"
        wait_until 20 button_is red || fail "the update button is not light red with the device gone"

        # Plugged in again: no click on the selector. (The receiver lets go of the old gadget side
        # only now, as in usb_unplug_mid_update.)
        usb-midi-plug on > /dev/null || fail "cannot plug the USB MIDI device back in"
        usb_unplugged=0
        plugged_ms=$(now_ms)
        stop_receiver
        expect_capture_is_cut "$image"
        usb_replug_receiver
        wait_until 30 button_is green || fail "the pedal plugged in again was not chosen by itself"
        log "chosen again by itself $(($(now_ms) - plugged_ms)) ms after it was plugged in"
        screenshot chosen-again
        captured_at_least 1 && fail "something was sent before the update button was pressed"
        update_with_button
        ;;

    usb_pause)
        # --pause 100 with the 40-message file: byte for byte, and the update takes its wire time
        # and 100 ms after every message at least.
        start_autoupdate "$app" --pause 100 --file "$image"
        start_ms=$(now_ms)
        update_ended "$image"
        run_ms=$(($(now_ms) - start_ms))
        expect_completed "$image"
        messages="$(message_count "$image")"
        wire_ms=$(($(file_size "$image") * 320 / 1000))
        ((run_ms >= wire_ms + messages * 100)) ||
            fail "the update with --pause 100 took $run_ms ms, less than $wire_ms ms on the wire + $messages x 100 ms"
        # Between the first and the last byte at the device: every message but the last, each with
        # its pause.
        span_ms="$(arrival_span_ms)"
        min_span_ms=$((($(file_size "$image") - $(last_message_bytes "$image")) * 320 / 1000 + (messages - 1) * 100))
        ((span_ms >= min_span_ms)) ||
            fail "the bytes arrived within $span_ms ms, less than the $min_span_ms ms the pauses need"
        log "with --pause 100: $run_ms ms in all, $span_ms ms from the first byte to the last (at least $min_span_ms)"
        ;;

    usb_sigterm_mid_update)
        interrupt_upload window SIGTERM terminate_app
        ;;

    terminal_update | usb_terminal_update)
        # The whole update in a terminal session without a display; stderr is a file, so the
        # progress comes as plain lines, and a final line names the outcome. terminal_update sends
        # through the VirMIDI port, as the other cases of the Windows program under Wine do.
        start_terminal_update "$image"
        update_ended "$image"
        expect_completed "$image"
        [[ ! -s "$out/stdout.log" ]] || fail "the update wrote to stdout: $(cat "$out/stdout.log")"
        # A carriage return inside a line redraws it in place; at its end it is Windows' line end.
        ! grep -q $'\r.' "$out/app.log" || fail "the log has a line redrawn in place (a carriage return inside a line)"
        sed -i 's/\r$//' "$out/app.log"
        lines="$(grep -cE "$progress_line_pattern" "$out/app.log" || true)"
        ((lines >= 2)) || fail "$lines progress lines in the log, not at least the first and the last"
        grep -qE "^100%  $(file_size "$image") of $(file_size "$image") bytes  40 of 40 messages  0:00 left$" \
            "$out/app.log" || fail "no progress line at 100 % in the log"
        expect_final_line "completed"
        ;;

    usb_terminal_unplug_mid_update)
        # Four times the usual image, as in usb_unplug_mid_update: the upload must still run when the
        # unplug takes effect. Without a window the program ends by itself.
        long_image="$out/long-image.syx"
        "$tool" write-image "$long_image" 160
        start_terminal_update "$long_image"
        wait_until 120 captured_at_least 600 || fail "the upload did not start: $(cat "$out/app.log")"
        usb-midi-plug off > /dev/null || fail "cannot unplug the USB MIDI device"
        usb_unplugged=1
        log "unplugged after $(captured) bytes"
        rc=0
        wait_for_exit "$app_pid" 30 || rc=$?
        app_pid=""
        [[ $rc -ne 124 ]] || fail "the application was still running 30 s after the device was unplugged"
        usb-midi-plug on > /dev/null || fail "cannot plug the USB MIDI device back in"
        usb_unplugged=0
        stop_receiver
        expect_capture_is_cut "$long_image"
        [[ $rc -eq 4 ]] || fail "the device unplugged during an update without a window gave status $rc, not 4"
        expect_final_line "disconnected"
        ;;

    usb_terminal_sigint_mid_update)
        interrupt_upload terminal SIGINT interrupt_app
        ;;

    usb_terminal_damaged_file)
        # The last message has lost its closing F7: status 2 and nothing sent.
        damaged="$out/damaged.syx"
        head -c $(($(file_size "$image") - 1)) "$image" > "$damaged"
        start_terminal_update "$damaged"
        update_ended "$damaged"
        [[ "$(captured)" -eq 0 ]] || fail "$(captured) bytes of a damaged image were sent"
        [[ $rc -eq 2 ]] || fail "a damaged image gave status $rc, not 2"
        expect_final_line "damaged"
        ;;

    usb_terminal_second_instance)
        # While one Quillon updates the pedal, the same update started again must send nothing:
        # the first one's image arrives alone and whole.
        long_image="$out/long-image.syx"
        "$tool" write-image "$long_image" 160
        start_terminal_update "$long_image"
        first_pid=$app_pid
        wait_until 120 captured_at_least 600 || fail "the first update did not start: $(cat "$out/app.log")"
        second_rc=0
        env -u DISPLAY timeout 60 "$app" --no-window --output "$port_name" --file "$long_image" \
            > "$out/second-stdout.log" 2> "$out/second.log" || second_rc=$?
        log "the second start ended with status $second_rc: $(cat "$out/second.log")"
        [[ $second_rc -eq 5 ]] || fail "the second start gave status $second_rc, not 5 (already running)"
        grep -q "^Quillon: another instance" "$out/second.log" || fail "the second start did not say why"
        app_pid=$first_pid
        update_ended "$long_image"
        expect_completed "$long_image"
        ;;

    *)
        echo "alsa-e2e.sh: unknown case $case_name" >&2
        exit 2
        ;;
esac

# A crash is a failure even where the status looks right: Wine's report of an unhandled exception,
# or the launcher's line for an exit code that is an exception's (tests/windows/RunAndWait.cpp).
if [[ -e "$out/app.log" ]] && grep -E "^wine: Unhandled|^Unhandled exception|^RunAndWait: .* exit code" "$out/app.log"; then
    fail "the application crashed (see the report above)"
fi

log "PASS: $case_name"
