#!/usr/bin/env bash
# Builds the test suite (Debug) and runs all of it with CTest, GUI tests under Xvfb.
#   test.sh                      the whole suite, Debug build
#   test.sh --sanitizer thread   the same under ThreadSanitizer
#   test.sh --sanitizer address  the same under AddressSanitizer + UndefinedBehaviorSanitizer
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"

sanitizer=""
if [[ "${1:-}" == "--sanitizer" ]]; then
    sanitizer="${2:?thread or address}"
    shift 2
fi

"$root/scripts/install-deps.sh"

build_dir="$root/build/debug${sanitizer:+-$sanitizer}"
# A compiler warning in the project's own code fails the run, as it fails CI.
"$root/scripts/build.sh" "$build_dir" Debug -DQUILLON_SANITIZER="$sanitizer" -DQUILLON_WARNINGS_AS_ERRORS=ON

export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
export TSAN_OPTIONS="${TSAN_OPTIONS:-halt_on_error=1 second_deadlock_stack=1 suppressions=$root/tests/tsan.supp}"
export LSAN_OPTIONS="${LSAN_OPTIONS:-suppressions=$root/tests/lsan.supp}"

cd "$build_dir"
xvfb-run -a -s "-screen 0 1280x1024x24" \
    ctest --output-on-failure --parallel "${QUILLON_JOBS:-2}" --label-exclude alsa "$@"
