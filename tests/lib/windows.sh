# Sourced by the scripts that drive the application's windows on an X server (tests/lib/xvfb.sh):
# finding a window, waiting for it to stand where it is drawn, closing it. They poll the X server
# every 0.1 s for what they wait for, and give up only after a time-out far beyond the slowest start
# seen (a sanitizer build on a busy machine). Failures call the script's `fail`.
#
# Why a script must not click before the window stands where it is drawn: the main window is mapped
# as soon as it is built, at 0,0 and 128 x 128, and placed (centred, 650 x 400) a moment later. A
# click in between lands on the root window and does nothing; xdotool reads a window's size and its
# position in two requests, so the position alone may already be the new one while the size read is
# still the old one. wait_until_placed waits for all four values. The other way a click used to get
# lost, an event left in Xlib's queue while the connection stayed quiet, the application's X event
# pump mends; the harness case stranded-event guards it.

# shellcheck source=wait.sh
source "$(dirname "${BASH_SOURCE[0]}")/wait.sh"
# shellcheck source=layout.sh
source "$(dirname "${BASH_SOURCE[0]}")/layout.sh"

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
        find_titled_window "$title" "$pid" && return 0
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

# wait_until_centred WINDOW [SECONDS [WIDTH HEIGHT]]: wait_until_placed at the middle of the screen,
# with the main window's size unless another is given.
wait_until_centred()
{
    local w="$1" seconds="${2:-60}" width="${3:-$main_width}" height="${4:-$main_height}" screen_w screen_h
    read -r screen_w screen_h < <(xdotool getdisplaygeometry)
    wait_until_placed "$w" $(((screen_w - width) / 2)) $(((screen_h - height) / 2)) "$width" "$height" "$seconds"
}

# find_titled_window TITLE [PID]: prints the id of a visible window with exactly that title (of that
# process, else of any on this X server), or returns 1.
find_titled_window()
{
    local title="$1" w candidates
    if [[ -n "${2:-}" ]]; then
        candidates="$(visible_windows "$2")"
    else
        candidates="$(xdotool search --onlyvisible --name . 2> /dev/null || true)"
    fi
    for w in $candidates; do
        if [[ "$(window_title "$w")" == "$title" ]]; then
            echo "$w"
            return 0
        fi
    done
    return 1
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

# click_close_button WINDOW: one click on the close button in the window's title bar.
click_close_button()
{
    local X Y WIDTH HEIGHT SCREEN WINDOW
    eval "$(xdotool getwindowgeometry --shell "$1")"
    xdotool mousemove --sync $((X + WIDTH - close_button_from_right)) $((Y + close_button_y)) click 1
}

# close_main_window PID WINDOW SECONDS: once the main window stands centred (clicks only then), one
# click on its close button; the process must then end within SECONDS. Sets close_status to its exit
# status (127: not a child of this shell). A click without effect fails the case, with a
# description of the application's windows and threads.
close_main_window()
{
    local pid="$1" w="$2" seconds="$3"
    wait_until_centred "$w"
    kill -0 "$pid" 2> /dev/null || fail "the application ended before its close button was clicked"
    click_close_button "$w"
    close_status=0
    wait_for_exit "$pid" "$seconds" || close_status=$?
    if ((close_status == 124)); then
        describe_windows "$pid"
        fail "the application still runs $seconds s after one click on its close button"
    fi
}
