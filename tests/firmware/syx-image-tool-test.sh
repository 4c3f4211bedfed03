#!/usr/bin/env bash
# The build's check of the embedded image: a broken .syx stops the build with a message that says
# what is wrong, and leaves no generated source behind.
#   syx-image-tool-test.sh SYX_IMAGE_TOOL
set -euo pipefail
tool="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

fail()
{
    echo "FAIL: $*" >&2
    exit 1
}

"$tool" generate "$work/image.syx"
"$tool" check "$work/image.syx" | grep -q ": 236024 bytes in 396 SysEx messages$" || fail "generated image has the wrong shape"
"$tool" generate "$work/again.syx"
cmp -s "$work/image.syx" "$work/again.syx" || fail "generation is not deterministic"
"$tool" embed "$work/image.syx" "$work/ok.cpp" || fail "a good image was rejected"
grep -q "^0xf0,0x00,0x7f,0x7f,0x51,0x01," "$work/ok.cpp" || fail "embedded data does not start with the image"

# name|bytes (printf escapes)|expected part of the message
broken=(
    "empty||the image is empty"
    "no-end|\xf0\x00\x01|the message starting at offset 0 has no closing 0xf7"
    "status-inside|\xf0\x00\x90\x01\xf7|byte 0x90 at offset 2 inside the message starting at offset 0"
    "between|\xf0\x00\xf7\x00\xf0\x00\xf7|byte 0x00 at offset 3 is not 0xf0"
    "starts-wrong|\x00\xf0\x00\xf7|byte 0x00 at offset 0 is not 0xf0"
)
for entry in "${broken[@]}"; do
    IFS='|' read -r name bytes expected <<< "$entry"
    printf "$bytes" > "$work/$name.syx"
    status=0
    "$tool" embed "$work/$name.syx" "$work/$name.cpp" 2> "$work/$name.err" || status=$?
    [[ $status -ne 0 ]] || fail "$name: broken image accepted"
    grep -qF "not a usable SysEx image: $expected" "$work/$name.err" || fail "$name: unclear message: $(cat "$work/$name.err")"
    [[ ! -e "$work/$name.cpp" && ! -e "$work/$name.cpp.tmp" ]] || fail "$name: output left behind"
done

status=0
"$tool" embed "$work/missing.syx" "$work/missing.cpp" 2> "$work/missing.err" || status=$?
[[ $status -ne 0 ]] && grep -q "cannot read the file" "$work/missing.err" || fail "missing input not reported"
echo "PASS"
