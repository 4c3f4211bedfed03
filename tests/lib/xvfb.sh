# Sourced by the scripts that drive the real windows on an X server of their own.

# start_xvfb WORK_DIR: starts Xvfb (1280x1024, no TCP), waits for it at most 10 s, exports DISPLAY
# and sets xvfb_pid for the caller's clean-up. Returns 1 when the server did not come up.
start_xvfb()
{
    local work="$1" i
    exec 3> "$work/display"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp > "$work/xvfb.out" 2>&1 &
    xvfb_pid=$!
    for i in $(seq 100); do
        [[ -s "$work/display" ]] && break
        sleep 0.1
    done
    [[ -s "$work/display" ]] || return 1
    export DISPLAY=":$(head -n 1 "$work/display")"
}

# fail MESSAGE: ends the test case with "FAIL: MESSAGE" on stderr (scripts may define their own).
fail()
{
    echo "FAIL: $*" >&2
    exit 1
}

# start_x: start_xvfb in the caller's folder $work; fails the case when the server does not come up.
start_x()
{
    start_xvfb "$work" || fail "Xvfb did not start"
}
