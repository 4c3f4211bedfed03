#!/usr/bin/env bash
# Builds and runs the real-MIDI end-to-end tests (CTest label "alsa"): the application sends
# through an ALSA snd-virmidi port to a receiver that empties its 4 KB buffer like a device.
#   test-alsa.sh [ctest arguments...]      e.g. test-alsa.sh -R close
# Where this machine has snd-virmidi ports (sudo modprobe snd-virmidi) the tests run here.
# Otherwise they run inside the alsa-vm guest: $QUILLON_ALSA_VM, or ../shared/tools/alsa-vm/alsa-vm
# beside the project folder; without it they are skipped with a message.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"

"$root/scripts/install-deps.sh"

# The suite's Debug build (shared with test.sh), and the application alone with the wire-time
# wait compiled out: the test that shows the receiver would see loss uses it.
"$root/scripts/build.sh" "$root/build/debug" Debug
"$root/scripts/build.sh" "$root/build/alsa-unpaced" Debug -DQUILLON_BUILD_TESTS=OFF -DQUILLON_WIRE_PACING=OFF
export QUILLON_UNPACED_APP="$root/build/alsa-unpaced/Quillon_artefacts/Debug/Quillon"

# Where the ports must exist, a test that cannot find them fails instead of skipping.
export QUILLON_ALSA_REQUIRED=1
ctest_command=(ctest --test-dir "$root/build/debug" --label-regex '^alsa$' --output-on-failure "$@")

if [[ -r /dev/snd/seq ]] && grep -q '\[VirMIDI *\]' /proc/asound/cards 2> /dev/null; then
    echo "test-alsa.sh: snd-virmidi ports found on this machine; running the ALSA tests here"
    exec "${ctest_command[@]}"
fi

vm="${QUILLON_ALSA_VM:-$root/../shared/tools/alsa-vm/alsa-vm}"
if [[ ! -x "$vm" ]]; then
    echo "test-alsa.sh: SKIPPED the ALSA end-to-end tests: this machine has no snd-virmidi ports" \
        "(sudo modprobe snd-virmidi) and there is no alsa-vm at $vm (set QUILLON_ALSA_VM)"
    exit 0
fi

# The guest sees this machine's files read-only; the project folder is shared read-write so that
# CTest can write its results and the tests their captures (build/debug/tests/e2e/).
vm_options=(--share "$root" --timeout 1800)
if [[ -z "${ALSA_VM_BACKEND:-}" ]]; then
    # alsa-vm picks User-Mode Linux where KVM cannot boot Debian's kernel. UML fails to start on
    # some CPUs (exit status 125: the guest itself failed); the emulated guest is slower but works.
    rc=0
    probe_log="$(mktemp)"
    "$vm" "${vm_options[@]}" -- true > "$probe_log" 2>&1 || rc=$?
    if [[ $rc -eq 125 ]]; then
        echo "test-alsa.sh: the default alsa-vm guest does not start on this machine" \
            "($(grep -m1 -E 'failed|panic' "$probe_log" || echo "status 125")); using --backend tcg"
        vm_options+=(--backend tcg)
    elif [[ $rc -ne 0 ]]; then
        cat "$probe_log" >&2
        echo "test-alsa.sh: alsa-vm failed (status $rc)" >&2
        exit "$rc"
    fi
    rm -f "$probe_log"
fi

echo "test-alsa.sh: running the ALSA tests inside the alsa-vm guest"
exec "$vm" "${vm_options[@]}" -- "${ctest_command[@]}"
