# Sourced by the scripts that start the application: it runs as a single instance per machine, and
# another test (of another build, too) may be running it or still ending it. A start then says so on
# stderr and ends at once; these helpers start it again until it is the one running instance.

# shellcheck source=windows.sh
source "$(dirname "${BASH_SOURCE[0]}")/windows.sh"

# another_instance_in LOG: whether the start that wrote LOG ended because another instance runs.
another_instance_in()
{
    grep -q "^Quillon: another instance of Quillon is already running" "$1"
}

# has_a_window: whether the started process ($app_pid) shows a visible window.
has_a_window()
{
    [[ -n "$(visible_windows "$app_pid")" ]]
}

# start_single_instance [--ready COMMAND] [--launcher] LOG PROGRAM [ARGS...]: starts the program in
# the background (app_pid), its output to LOG, and returns once COMMAND succeeds (default:
# has_a_window), at most 90 s after a start. While another instance keeps it from starting, starts it
# again, for at most 120 s. --launcher: the program hands over to the application and ends with
# status 0 (gio launch); the application's output still goes to LOG. Calls `fail` when a start
# ends otherwise, or when time runs out.
start_single_instance()
{
    local ready=has_a_window launcher=0 log deadline=$((SECONDS + 120)) give_up rc
    while [[ "$1" == --* ]]; do
        case "$1" in
            --ready) ready="$2"; shift 2 ;;
            --launcher) launcher=1; shift ;;
        esac
    done
    log="$1"
    shift
    while true; do
        "$@" > "$log" 2>&1 &
        app_pid=$!
        give_up=$((SECONDS + 90))
        until "$ready"; do
            another_instance_in "$log" && break
            if [[ -n "$app_pid" ]] && ! kill -0 "$app_pid" 2> /dev/null; then
                rc=0
                wait "$app_pid" 2> /dev/null || rc=$?
                another_instance_in "$log" && break
                ((launcher && rc == 0)) ||
                    fail "the application ended (status $rc) before it was ready: $(tail -n 5 "$log")"
                app_pid=""
            fi
            ((SECONDS < give_up)) || fail "the application was not ready 90 s after its start: $(tail -n 5 "$log")"
            sleep 0.1
        done
        another_instance_in "$log" || return 0
        if [[ -n "$app_pid" ]]; then
            wait "$app_pid" 2> /dev/null || true
        fi
        ((SECONDS < deadline)) || fail "another instance of the application kept running for 120 s"
        sleep 0.1
    done
}

# run_single_instance LOG SECONDS PROGRAM [ARGS...]: runs the program to its end, its output to LOG,
# for at most SECONDS; while another instance keeps it from starting, runs it again, for at most
# 120 s. Sets status to its exit status (124: it still ran after SECONDS and was ended).
run_single_instance()
{
    local log="$1" seconds="$2" deadline=$((SECONDS + 120))
    shift 2
    while true; do
        status=0
        timeout "$seconds" "$@" > "$log" 2>&1 || status=$?
        another_instance_in "$log" || return 0
        ((SECONDS < deadline)) || fail "another instance of the application kept running for 120 s"
        sleep 0.1
    done
}
