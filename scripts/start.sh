#!/usr/bin/env bash
# Builds Quillon (Release) and starts it; every argument is passed on to the program.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"

# The window needs a display: say so at once instead of building first (the program itself also
# checks that the display can be reached). An unattended update, --check and the printing options
# run without one.
needs_display=1
for argument in "$@"; do
    case "${argument,,}" in
        --no-window | --autoupdate | --check | --list-outputs | --help | --version) needs_display=0 ;;
        --file) break ;; # the rest is the file's name
    esac
done
if ((needs_display)) && [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
    echo "Quillon: no graphical display available (is DISPLAY set to a running X server?)" >&2
    exit 1
fi

"$root/scripts/install-deps.sh"

log="$root/build/release-build.log"
mkdir -p "$root/build"
if ! "$root/scripts/build.sh" "$root/build/release" Release -DQUILLON_BUILD_TESTS=OFF > "$log" 2>&1; then
    tail -n 40 "$log" >&2
    echo "Quillon: the build failed (whole log: $log)" >&2
    exit 1
fi
exec "$root/build/release/Quillon_artefacts/Release/Quillon" "$@"
