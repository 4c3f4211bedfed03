# Sourced by the scripts that drive the real windows on an X server of their own.

# shellcheck source=wait.sh
source "$(dirname "${BASH_SOURCE[0]}")/wait.sh"

# start_xvfb WORK_DIR [WIDTHxHEIGHT [SECONDS]]: starts Xvfb (default 1280x1024, no TCP), waits for
# it at most SECONDS (default 10), exports DISPLAY and sets xvfb_pid for the caller's clean-up.
# Returns 1 when the server did not come up. -noreset: atoms a helper interns must outlive it.
start_xvfb()
{
    local work="$1" screen="${2:-1280x1024}"
    exec 3> "$work/display"
    Xvfb -displayfd 3 -screen 0 "${screen}x24" -nolisten tcp -noreset > "$work/xvfb.out" 2>&1 &
    xvfb_pid=$!
    wait_until "${3:-10}" test -s "$work/display" || return 1
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
