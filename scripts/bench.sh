#!/usr/bin/env bash
# Runs the benchmarks (never part of scripts/test.sh) on a RelWithDebInfo
# build and writes Google Benchmark's JSON to OUT.json, and the windows'
# timings (bench/window) to OUT-window.json. Extra arguments go to both
# benchmark programs, e.g. --benchmark_filter=GenerationRun.
#   scripts/bench.sh OUT.json [benchmark arguments...]
# Compare two runs with scripts/bench-compare.py OLD.json,OLD-window.json
# NEW.json,NEW-window.json.
set -euo pipefail
if [[ $# -lt 1 ]]; then
    echo "usage: $0 OUT.json [benchmark arguments...]" >&2
    exit 2
fi
out=$(realpath -m "$1")
shift
cd "$(dirname "$0")/.."
build=${TALLOWBY_BENCH_BUILD:-build}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTALLOWBY_BENCH=ON >/dev/null
cmake --build "$build" --target tallowby_bench tallowby-fill tallowby_window_bench
mkdir -p "$(dirname "$out")"
# The generated stores and the runs' files live in a folder of the build
# tree: something on this machine clears /tmp/tallowby-* folders while
# benchmarks still use them.
scratch="$(realpath "$build")/bench-tmp"
mkdir -p "$scratch"
export TMPDIR="$scratch" TEMP="$scratch"
# The first program's status is kept, so that the windows are timed even
# when it fails; the script ends with it.
status=0
QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8 "$build/bench/tallowby_bench" \
    --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
    --benchmark_out="$out" --benchmark_out_format=json "$@" || status=$?
QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8 "$build/bench/window/tallowby_window_bench" \
    --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
    --benchmark_out="${out%.json}-window.json" --benchmark_out_format=json "$@"
exit "$status"
