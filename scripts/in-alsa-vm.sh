#!/usr/bin/env bash
# Runs a command inside the alsa-vm guest (a throw-away Linux with ALSA snd-virmidi ports and a USB
# MIDI device, which usb-midi-plug unplugs and plugs in), with the project folder shared read-write:
#   in-alsa-vm.sh [--timeout SECONDS] -- COMMAND [ARGS...]
# alsa-vm is $QUILLON_ALSA_VM, or ../shared/tools/alsa-vm/alsa-vm beside the project folder.
# Exit status: the command's; 75 when there is no alsa-vm.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"

timeout=1800
if [[ "${1:-}" == "--timeout" ]]; then
    timeout="$2"
    shift 2
fi
[[ "${1:-}" == "--" ]] && shift

vm="${QUILLON_ALSA_VM:-$root/../shared/tools/alsa-vm/alsa-vm}"
if [[ ! -x "$vm" ]]; then
    echo "in-alsa-vm.sh: there is no alsa-vm at $vm (set QUILLON_ALSA_VM)" >&2
    exit 75
fi

# The guest sees this machine's files read-only; the project folder is shared read-write.
options=(--share "$root" --timeout "$timeout" --usb-midi)
if [[ -z "${ALSA_VM_BACKEND:-}" ]]; then
    # alsa-vm picks User-Mode Linux where KVM cannot boot Debian's kernel (its UML kernel is
    # patched to start on CPUs with AMX too). Should UML still fail to start here (status 125: the
    # guest itself failed), the emulated guest is slower but works.
    echo "in-alsa-vm.sh: starting alsa-vm (its first use on a machine sets it up: a few minutes)"
    rc=0
    probe_log="$(mktemp)"
    "$vm" "${options[@]}" -- true > "$probe_log" 2>&1 || rc=$?
    if [[ $rc -eq 125 ]]; then
        echo "in-alsa-vm.sh: the default guest does not start on this machine" \
            "($(grep -m1 '^alsa-vm:' "$probe_log" || echo "status 125")); using --backend tcg"
        options+=(--backend tcg)
    elif [[ $rc -ne 0 ]]; then
        cat "$probe_log" >&2
        echo "in-alsa-vm.sh: alsa-vm failed (status $rc)" >&2
        exit "$rc"
    fi
    rm -f "$probe_log"
fi

# Seen here under load: the guest's module loading for the USB device stalled past the boot
# time-out in both of alsa-vm's own tries, though the probe above had booted. Only a guest that
# never reached the command is started again, so the command never runs twice.
boot_log="$(mktemp)"
trap 'rm -f "$boot_log"' EXIT
for attempt in 1 2; do
    # stderr through tee into the log as well, stdout as it is.
    rc=0
    { "$vm" "${options[@]}" -- "$@" 2>&1 1>&3 3>&- | tee "$boot_log" >&2 3>&-; } 3>&1 || rc=$?
    if [[ $rc -ne 125 ]] || ! grep -q "did not reach the command" "$boot_log"; then
        exit "$rc"
    fi
    echo "in-alsa-vm.sh: the guest did not reach the command (attempt $attempt of 3); starting it again" >&2
done
exec "$vm" "${options[@]}" -- "$@"
