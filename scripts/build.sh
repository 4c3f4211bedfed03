#!/usr/bin/env bash
# build.sh BUILD_DIR BUILD_TYPE [extra CMake arguments...]: configures (once) and builds.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build_dir="$1"
build_type="$2"
shift 2

# Worktrees and clones share one compiler cache: paths below the common parent count as equal.
export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$(dirname "$root")}"

launcher=()
if command -v ccache > /dev/null; then
    launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi

cmake -S "$root" -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE="$build_type" "${launcher[@]}" "$@" > /dev/null
# Two cores and about 1.3 GB per compiler process: build with both.
cmake --build "$build_dir" --parallel "${QUILLON_JOBS:-2}"
