#!/usr/bin/env bash
# Builds and runs the real-MIDI end-to-end tests (CTest label "alsa"): the application sends
# through an ALSA snd-virmidi port, or to a USB MIDI device, to a receiver that empties its 4 KB
# buffer like a device.
#   test-alsa.sh [ctest arguments...]      e.g. test-alsa.sh -R close
# Where this machine has snd-virmidi ports (sudo modprobe snd-virmidi) the tests run here, and the
# USB cases are skipped. Otherwise all of them run inside the alsa-vm guest (scripts/in-alsa-vm.sh),
# which has a USB MIDI device; without one they are skipped with a message.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"

"$root/scripts/install-deps.sh"

# The suite's Debug build (shared with test.sh), and the application alone with the wire-time
# wait compiled out: the test that shows the receiver would see loss uses it.
"$root/scripts/build.sh" "$root/build/debug" Debug -DQUILLON_WARNINGS_AS_ERRORS=ON
"$root/scripts/build.sh" "$root/build/alsa-unpaced" Debug -DQUILLON_BUILD_TESTS=OFF -DQUILLON_WIRE_PACING=OFF \
    -DQUILLON_WARNINGS_AS_ERRORS=ON
export QUILLON_UNPACED_APP="$root/build/alsa-unpaced/Quillon_artefacts/Debug/Quillon"

# Where the ports must exist, a test that cannot find them fails instead of skipping.
export QUILLON_ALSA_REQUIRED=1
ctest_command=(ctest --test-dir "$root/build/debug" --label-regex '^alsa$' --output-on-failure "$@")

if [[ -r /dev/snd/seq ]] && grep -q '\[VirMIDI *\]' /proc/asound/cards 2> /dev/null; then
    echo "test-alsa.sh: snd-virmidi ports found on this machine; running the ALSA tests here"
    exec "${ctest_command[@]}"
fi

echo "test-alsa.sh: running the ALSA tests inside the alsa-vm guest"
# The guest has a USB MIDI device too; there the cases that use it must find it.
export QUILLON_USB_MIDI_REQUIRED=1
rc=0
"$root/scripts/in-alsa-vm.sh" -- "${ctest_command[@]}" || rc=$?
if [[ $rc -eq 75 ]]; then
    echo "test-alsa.sh: SKIPPED the ALSA end-to-end tests: this machine has no snd-virmidi ports" \
        "(sudo modprobe snd-virmidi) and no alsa-vm guest to run them in"
    exit 0
fi
exit "$rc"
