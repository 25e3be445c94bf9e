#!/usr/bin/env bash
# Runs the benchmarks (never part of scripts/test.sh) on a RelWithDebInfo
# build and writes Google Benchmark's JSON to OUT.json. Extra arguments go to
# the benchmark program, e.g. --benchmark_filter=GenerationRun.
#   scripts/bench.sh OUT.json [benchmark arguments...]
# Compare two runs with scripts/bench-compare.py OLD.json NEW.json.
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
cmake --build "$build" --target tallowby_bench tallowby-fill
mkdir -p "$(dirname "$out")"
QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8 "$build/bench/tallowby_bench" \
    --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
    --benchmark_out="$out" --benchmark_out_format=json "$@"
