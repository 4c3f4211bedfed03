#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, AddressSanitizer + UndefinedBehaviorSanitizer) in build/fuzz
# and runs each one for a bounded number of inputs or time.
#   fuzz.sh                     every target, 1000000 inputs each
#   fuzz.sh --runs N            every target, N inputs each
#   fuzz.sh --seconds S         every target, S seconds each (with --runs: whichever ends first)
#   fuzz.sh ... NAME...         only the named targets (e.g. FirmwareImageFuzzer)
# A crash, a hang (an input taking over 10 s), a leak or a sanitizer report fails the run; libFuzzer
# then leaves the input that caused it in build/fuzz/findings/.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"

runs=""
seconds=""
targets=()
while [[ $# -gt 0 ]]; do
    case "$1" in
        --runs) runs="${2:?number of inputs}"; shift 2 ;;
        --seconds) seconds="${2:?seconds}"; shift 2 ;;
        *) targets+=("$1"); shift ;;
    esac
done
if [[ -z "$runs" && -z "$seconds" ]]; then
    runs=1000000
fi
limit=()
[[ -n "$runs" ]] && limit+=(-runs="$runs")
[[ -n "$seconds" ]] && limit+=(-max_total_time="$seconds")

QUILLON_WITH_CLANG=1 "$root/scripts/install-deps.sh"

if [[ ${#targets[@]} -eq 0 ]]; then
    for source in "$root"/tests/fuzz/*Fuzzer.cpp; do
        targets+=("$(basename "$source" .cpp)")
    done
fi

# Only the fuzzers: the application and its packaging files are built and tested elsewhere.
build_dir="$root/build/fuzz"
QUILLON_BUILD_TARGETS="${targets[*]}" CC=clang CXX=clang++ "$root/scripts/build.sh" "$build_dir" Debug \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_C_FLAGS_DEBUG="-g -O1" -DCMAKE_CXX_FLAGS_DEBUG="-g -O1" \
    -DQUILLON_BUILD_TESTS=OFF -DQUILLON_BUILD_FUZZERS=ON -DQUILLON_SANITIZER=address

export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"

for target in "${targets[@]}"; do
    corpus="$build_dir/corpus/$target"
    findings="$build_dir/findings/$target/"
    mkdir -p "$corpus" "$findings"

    options=("${limit[@]}" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$findings")
    if [[ -f "$root/tests/fuzz/$target.dict" ]]; then
        options+=(-dict="$root/tests/fuzz/$target.dict")
    fi
    seeds=()
    if [[ -d "$root/tests/fuzz/seeds/$target" ]]; then
        seeds=("$root/tests/fuzz/seeds/$target")
    fi

    echo "== $target"
    log="$build_dir/$target.log"
    # The first directory collects what libFuzzer finds interesting; the seeds are only read.
    status=0
    "$build_dir/tests/fuzz/$target" "${options[@]}" "$corpus" "${seeds[@]}" > "$log" 2>&1 || status=$?
    grep -E "^(Done|stat::number_of_executed_units|stat::peak_rss_mb|SUMMARY)|invariant broken|ERROR" "$log" || true
    if [[ $status -ne 0 ]]; then
        echo "$target failed (exit status $status): see $log; the input is in $findings" >&2
        exit 1
    fi
done
