#!/usr/bin/env bash
# build.sh BUILD_DIR BUILD_TYPE [extra CMake arguments...]: configures (once) and builds.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build_dir="$1"
build_type="$2"
shift 2

# Worktrees, clones and build folders share one compiler cache: paths below the common parent
# count as equal, and so do the folders a compiler runs in. ccache otherwise hashes that folder into
# every build with debug information (Debug, the sanitizers, the fuzzers): a fresh clone, or a second
# build folder of the same configuration, would then compile JUCE anew. The price: a debugger may
# show the folder of the build that filled the cache.
export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$(dirname "$root")}"
export CCACHE_NOHASHDIR="${CCACHE_NOHASHDIR:-1}"

launcher=()
if command -v ccache > /dev/null; then
    launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi

# Two scripts may build the same folder at once (CI runs two lanes): one after the other.
mkdir -p "$build_dir"
exec 9> "$build_dir/.build-lock"
flock 9

cmake -S "$root" -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE="$build_type" "${launcher[@]}" "$@" > /dev/null
# Two cores and about 1.3 GB per compiler process: build with both.
cmake --build "$build_dir" --parallel "${QUILLON_JOBS:-2}"
