# Sourced by the test scripts: waiting for something to happen, or to keep not happening. They poll
# rather than sleep a fixed time, and give up only after a time-out far beyond the slowest case seen
# (a sanitizer build on a busy machine).

# wait_until SECONDS COMMAND...: polls COMMAND every 0.2 s until it succeeds; returns 1 when time
# runs out.
wait_until()
{
    local deadline=$((SECONDS + $1))
    shift
    until "$@"; do
        ((SECONDS < deadline)) || return 1
        sleep 0.2
    done
}

# wait_while SECONDS COMMAND...: polls COMMAND every 0.2 s until it fails; returns 1 when it still
# succeeds after that time.
wait_while()
{
    local seconds="$1"
    shift
    wait_until "$seconds" fails "$@"
}

# fails COMMAND...: succeeds when COMMAND fails.
fails()
{
    ! "$@"
}

# holds_for SECONDS COMMAND...: checks COMMAND every 0.1 s for that long (SECONDS may be a fraction:
# 0.5); returns 1 as soon as it fails once.
holds_for()
{
    local checks
    checks="$(awk -v s="$1" 'BEGIN { print int(s * 10 + 0.5) }')"
    shift
    while ((checks-- > 0)); do
        sleep 0.1
        "$@" || return 1
    done
}

# wait_for_exit PID SECONDS: waits for the process to end and returns its exit status (127 for a
# process that is not a child of this shell: its status is not known here), or 124 when it still
# runs after SECONDS.
wait_for_exit()
{
    local pid="$1" deadline=$((SECONDS + $2)) rc=0
    while kill -0 "$pid" 2> /dev/null; do
        ((SECONDS < deadline)) || return 124
        sleep 0.1
    done
    wait "$pid" 2> /dev/null || rc=$?
    return "$rc"
}
