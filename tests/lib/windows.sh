# Sourced by the scripts that drive the application's windows on an X server (tests/lib/xvfb.sh).
# They poll the X server every 0.1 s for what they wait for, and give up only after a time-out far
# beyond the slowest start seen (a sanitizer build on a busy machine).
#
# Why a script must not click before the window stands where it is drawn: the main window is mapped
# as soon as it is built, at 0,0 and 128 x 128, and placed (centred, 650 x 400) a moment later. A
# click in between lands on the root window and does nothing; xdotool reads a window's size and its
# position in two requests, so the position alone may already be the new one while the size read is
# still the old one. wait_until_placed waits for all four values. The other way a click used to get
# lost, an event left in Xlib's queue while the connection stayed quiet, the application's X event
# pump mends; the harness case stranded-event guards it.

# visible_windows PID: ids of the visible (mapped) top-level windows of that process, one per line.
visible_windows()
{
    xdotool search --onlyvisible --pid "$1" 2> /dev/null || true
}

# window_title WINDOW: its title (JUCE sets WM_NAME as UTF-8), exactly, trailing blanks included.
window_title()
{
    LC_ALL=C.UTF-8 xprop -id "$1" -notype WM_NAME 2> /dev/null \
        | sed -n 's/^WM_NAME = "\(.*\)"$/\1/p' | sed 's/\\"/"/g'
}

# wait_for_window PID TITLE [SECONDS]: waits (default 60 s) for a visible window of the process with
# exactly that title and prints its id. Calls `fail` when the process ends or time runs out.
wait_for_window()
{
    local pid="$1" title="$2" deadline=$((SECONDS + ${3:-60})) w seen
    while ((SECONDS < deadline)); do
        for w in $(visible_windows "$pid"); do
            if [[ "$(window_title "$w")" == "$title" ]]; then
                echo "$w"
                return 0
            fi
        done
        kill -0 "$pid" 2> /dev/null || fail "the application ended before showing a window titled '$title'"
        sleep 0.1
    done
    seen=""
    for w in $(visible_windows "$pid"); do
        seen+=" '$(window_title "$w")'"
    done
    fail "no window titled '$title' (visible windows:${seen:- none})"
}

# wait_until_placed WINDOW X Y WIDTH HEIGHT [SECONDS]: waits (default 60 s) until the window stands
# at that place with that size; calls `fail` when it does not.
wait_until_placed()
{
    local w="$1" want="$2,$3,$4,$5" deadline=$((SECONDS + ${6:-60})) X Y WIDTH HEIGHT SCREEN WINDOW
    while ((SECONDS < deadline)); do
        eval "$(xdotool getwindowgeometry --shell "$w" 2> /dev/null)"
        [[ "${X:-},${Y:-},${WIDTH:-},${HEIGHT:-}" == "$want" ]] && return 0
        sleep 0.1
    done
    fail "window $w at ${X:-?},${Y:-?} sized ${WIDTH:-?} x ${HEIGHT:-?}, expected $want"
}

# wait_until_gone WINDOW PID [SECONDS]: waits (default 60 s) until the window is no longer a visible
# window of the process (or the process has ended); returns 1 when it still is.
wait_until_gone()
{
    local w="$1" pid="$2" deadline=$((SECONDS + ${3:-60}))
    while visible_windows "$pid" | grep -qx "$w"; do
        ((SECONDS < deadline)) || return 1
        sleep 0.1
    done
}

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

# wait_for_exit PID SECONDS: waits for the process (a child of this shell) to end and returns its
# exit status, or 124 when it still runs after SECONDS.
wait_for_exit()
{
    local pid="$1" deadline=$((SECONDS + $2)) rc=0
    while kill -0 "$pid" 2> /dev/null; do
        ((SECONDS < deadline)) || return 124
        sleep 0.1
    done
    wait "$pid" || rc=$?
    return "$rc"
}

# The application runs as a single instance per machine, and another test (of another build, too)
# may be running it. It says so on stderr and ends at once.
another_instance_in()
{
    grep -q "^Quillon: another instance of Quillon is already running" "$1"
}

# start_single_instance LOG COMMAND...: starts COMMAND in the background, its output to LOG, as the
# one running instance: waits until it shows a window, and while another instance keeps it from
# starting (at most 120 s), starts it again. Sets app_pid. Calls `fail` when it ends otherwise.
start_single_instance()
{
    local log="$1" deadline=$((SECONDS + 120))
    shift
    while true; do
        "$@" > "$log" 2>&1 &
        app_pid=$!
        while kill -0 "$app_pid" 2> /dev/null; do
            [[ -n "$(visible_windows "$app_pid")" ]] && return 0
            sleep 0.1
        done
        wait "$app_pid" 2> /dev/null || true
        another_instance_in "$log" || fail "the application ended before showing a window: $(tail -n 5 "$log")"
        ((SECONDS < deadline)) || fail "another instance of the application kept running for 120 s"
        sleep 0.1
    done
}

# describe_windows PID: the process's windows with their titles, map states and places, and where
# gdb can attach, the stack of every thread; for the message of a failure.
describe_windows()
{
    local pid="$1" w
    echo "---- windows of the application"
    for w in $(xdotool search --pid "$pid" 2> /dev/null || true); do
        echo "$w '$(window_title "$w")' $(xwininfo -id "$w" 2> /dev/null | grep -E 'Map State|Absolute|Width|Height' | tr -s ' ' | tr '\n' ' ')"
    done
    if command -v gdb > /dev/null; then
        echo "---- threads of the application"
        timeout 60 gdb -p "$pid" -batch -ex "thread apply all bt" 2> /dev/null | grep -E '^(Thread|#)' || true
    fi
}
