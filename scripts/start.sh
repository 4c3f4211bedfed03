#!/usr/bin/env bash
# Builds Quillon (Release) and starts it; every argument is passed on to the program.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" "$root/build/release" Release -DQUILLON_BUILD_TESTS=OFF > /dev/null
exec "$root/build/release/Quillon_artefacts/Release/Quillon" "$@"
