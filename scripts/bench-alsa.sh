#!/usr/bin/env bash
# Benchmark (not a test): how close to MIDI's wire time an upload through real ALSA runs.
#   bench-alsa.sh [MESSAGES]        (default 40)
#   bench-alsa.sh builtin           the built-in image (396 messages; about 3 minutes)
# Builds the Release application, then sends one image of MESSAGES SysEx messages through the
# snd-virmidi port "VirMIDI C-0" twice, each time to the same paced receiver (rawmidi hw:C,0,
# 4 KB buffer, emptied at 6250 bytes/s like a device that takes twice MIDI's rate):
#   1. Quillon --autoupdate --file IMAGE (sequencer port C-0), and the same without a window
#      (--no-window, no display);
#   2. amidi -s IMAGE -i 1 on the other port's rawmidi side (hw:C,1), whose sequencer port is
#      connected to C-0 for the run.
# Where there is a USB MIDI device (the alsa-vm guest's, --usb-midi), twice more to the same
# receiver on the device's gadget side (the f_midi card's rawmidi hw:G,0, what the device receives):
#   3. Quillon --autoupdate --file IMAGE to the device's port ("USB MIDI Pedal MIDI 1"), and the
#      same without a window;
#   4. amidi -s IMAGE -i 1 to the device's own rawmidi port (hw:H,0, snd-usb-audio).
# For each it prints the upload's wall time divided by the wire time of the image's bytes
# (320 us per byte), and how many bytes arrived intact. For Quillon's uploads it then prints the
# upload thread's own record (QUILLON_UPLOAD_TIMING): the gap from each message's wire deadline to
# the next message's send (median, 95th percentile, maximum; a gap beyond the pacer's 10 ms slack
# restarts its timeline and adds to the upload), and the mean and largest time of each step the
# thread takes around a message (lock waits included).
#
# Upload wall time: from the moment the first message reaches the port to the moment the last
# message reaches it, plus the wire time of that last message (a sender that paces itself to the
# wire is busy with it for that long; a virtual port takes it at once). The receiver logs when
# bytes reach the port; application start-up and shut-down are not part of it.
#
# Like test-alsa.sh, it runs here when this machine has snd-virmidi ports, else in the alsa-vm guest.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
messages="${1:-40}"

if [[ "${BENCH_ALSA_IN_GUEST:-0}" != 1 ]]; then
    "$root/scripts/install-deps.sh"
    "$root/scripts/build.sh" "$root/build/release" Release -DQUILLON_BUILD_TESTS=OFF > /dev/null
    "$root/scripts/build.sh" "$root/build/debug" Debug > /dev/null # the receiver and the helper tool
    export BENCH_ALSA_IN_GUEST=1
    if [[ -r /dev/snd/seq ]] && grep -q '\[VirMIDI *\]' /proc/asound/cards 2> /dev/null; then
        exec "$0" "$messages"
    fi
    exec "$root/scripts/in-alsa-vm.sh" --timeout 1200 -- "$0" "$messages"
fi

# ------------------------------------------------------------------ the measurement itself
app="$root/build/release/Quillon_artefacts/Release/Quillon"
receiver="$root/build/debug/tests/PacedMidiReceiver"
tool="$root/build/debug/tests/QuillonE2eTool"
out="$root/build/bench-alsa"
rm -rf "$out"
mkdir -p "$out"

card="$(awk '/\[VirMIDI *\]/ { print $1; exit }' /proc/asound/cards)"
image="$out/image.syx"
if [[ "$messages" == builtin ]]; then
    "$tool" write-builtin-image "$image"
    messages="$(LC_ALL=C tr -cd '\360' < "$image" | wc -c)"
else
    "$tool" write-image "$image" "$messages"
fi
bytes="$(stat -c %s "$image")"
last_start="$(od -An -v -tx1 -w1 "$image" | grep -n f0 | tail -n1 | cut -d: -f1)"
last_message_bytes=$((bytes - last_start + 1))

pids=""
trap 'kill $pids 2> /dev/null || true' EXIT

Xvfb -displayfd 9 -nolisten tcp -noreset 9> "$out/display" 2> /dev/null &
pids="$pids $!"
until [[ -s "$out/display" ]]; do sleep 0.1; done
export DISPLAY=":$(head -n1 "$out/display")"

# measure KEY LABEL RAWMIDI COMMAND...: runs COMMAND while the receiver captures on RAWMIDI; prints
# one result line.
measure() {
    local key="$1" label="$2" device="$3"
    shift 3
    rm -f "$out/ready"
    "$receiver" --device "$device" --output "$out/$key.capture" --arrivals "$out/$key.arrivals" \
        --ready "$out/ready" --idle-ms 3000 > "$out/$key.receiver.log" 2>&1 &
    local receiver_pid=$!
    until [[ -e "$out/ready" ]]; do sleep 0.05; done
    "$@" > "$out/$key.log" 2>&1 || true
    wait "$receiver_pid"
    local received identical=no
    received="$(stat -c %s "$out/$key.capture")"
    cmp -s "$image" "$out/$key.capture" && identical=yes
    awk -v label="$label" -v bytes="$bytes" -v last="$last_message_bytes" -v received="$received" \
        -v identical="$identical" -v messages="$messages" '
        NR == 1 { first = $2 } { final = $2 }
        END {
            wire = bytes * 320e-6
            wall = (final - first) * 1e-9 + last * 320e-6
            printf "%-28s %9.4f s %11.4f s %9.5f %8d of %d  %-9s %+8.0f us\n", label, wire, wall, wall / wire,
                   received, bytes, identical, (wall - wire) * 1e6 / (NR > 1 ? messages - 1 : 1)
        }' "$out/$key.arrivals"
}

id="$("$app" --list-outputs | awk -F'\t' -v name="VirMIDI $card-0" '{ sub(/ +$/, "", $2) } $2 == name { print $1 }')"

echo "Image: $messages SysEx messages, $bytes bytes; receiver: hw:$card,0, 4096-byte buffer, 6250 bytes/s"
printf "%-28s %11s %13s %9s %16s  %-9s %s\n" "sender" "wire time" "upload wall" "ratio" "bytes received" \
    "identical" "excess per message"
measure quillon "Quillon (VirMIDI $card-0)" "hw:$card,0" \
    env QUILLON_UPLOAD_TIMING="$out/quillon.timing" "$app" --autoupdate --outputid "$id" --file "$image"
measure quillon-terminal "  --no-window (VirMIDI $card-0)" "hw:$card,0" \
    env -u DISPLAY QUILLON_UPLOAD_TIMING="$out/quillon-terminal.timing" "$app" --no-window --outputid "$id" \
    --file "$image"

# amidi writes to the rawmidi side of port C-1; its sequencer port passes the events to C-0.
from="$(aconnect -i | awk -v n="'Virtual Raw MIDI $card-1'" 'index($0, n) { sub(":", "", $2); print $2; exit }')"
to="$(aconnect -o | awk -v n="'Virtual Raw MIDI $card-0'" 'index($0, n) { sub(":", "", $2); print $2; exit }')"
aconnect "$from:0" "$to:0"
measure amidi "amidi -i 1 (hw:$card,1)" "hw:$card,0" amidi -p "hw:$card,1" -s "$image" -i 1
aconnect -d "$from:0" "$to:0"

# usb-midi-plug status: state, host_card, host_client, gadget_card, gadget_client.
if usb_status="$(usb-midi-plug status 2> /dev/null)" && eval "$usb_status" && [[ "$state" == on ]]; then
    usb_id="$("$app" --list-outputs | awk -F'\t' -v id="$host_client-0" '$3 == id { print $1 }')"
    measure quillon-usb "Quillon (USB $host_client-0)" "hw:$gadget_card,0" \
        env QUILLON_UPLOAD_TIMING="$out/quillon-usb.timing" "$app" --autoupdate --outputid "$usb_id" --file "$image"
    measure quillon-usb-terminal "  --no-window (USB $host_client-0)" "hw:$gadget_card,0" \
        env -u DISPLAY QUILLON_UPLOAD_TIMING="$out/quillon-usb-terminal.timing" "$app" --no-window \
        --outputid "$usb_id" --file "$image"
    measure amidi-usb "amidi -i 1 (hw:$host_card,0)" "hw:$gadget_card,0" \
        amidi -p "hw:$host_card,0" -s "$image" -i 1
    echo "USB MIDI device: host side card $host_card (snd-usb-audio), received on its gadget side hw:$gadget_card,0"
else
    echo "No USB MIDI device (the alsa-vm guest's, --usb-midi): its rows are left out."
fi
for key in quillon quillon-terminal quillon-usb quillon-usb-terminal; do
    [[ -s "$out/$key.timing" ]] || continue
    echo "Between messages, $key (upload thread's record, $out/$key.timing):"
    grep -v '^message ' "$out/$key.timing" | sed 's/^/  /'
done
echo "This machine oversleeps std::this_thread::sleep_until by $("$tool" sleep-latency) us on average" \
    "(what each message would add if its wait did not continue the previous message's timeline)."
