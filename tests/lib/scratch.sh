# Sourced by the scripts that start programs of their own: a new temporary folder, $work, and the
# clean-up when the script ends, however it ends. The processes whose pids are in $app_pid,
# $xvfb_pid or the array pids are ended; then the script's own function on_exit runs, if it has
# one (to print its logs, say); then $work goes.
work="$(mktemp -d)"
app_pid=""
xvfb_pid=""
pids=()

scratch_cleanup()
{
    local pid
    # Any of them may have ended already: that is no failure (under set -e it would be one here).
    for pid in $app_pid $xvfb_pid "${pids[@]}"; do
        kill "$pid" 2> /dev/null || true
    done
    if declare -F on_exit > /dev/null; then
        on_exit || true
    fi
    rm -rf "$work"
}
trap scratch_cleanup EXIT
