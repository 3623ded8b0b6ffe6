#!/usr/bin/env bash
# Runs every benchmark program of a build (BUILD_DIR/bench/*_bench) one after
# the other, and keeps each one's results as JSON beside it.
#   scripts/run-bench.sh BUILD_DIR [benchmark flags...]
# BENCH_MIN_TIME (seconds per benchmark, default 0.3) keeps the whole run to a
# few minutes; extra flags (--benchmark_filter=..., say) go to every program.
set -euo pipefail

build=${1:?usage: scripts/run-bench.sh BUILD_DIR [benchmark flags...]}
shift
min_time=${BENCH_MIN_TIME:-0.3}
dir="$build/bench"

if [[ ! -d "$dir" ]]; then
    echo "run-bench: no benchmarks built in $dir (configure with -DTSLE_BENCH=ON)"
    exit 0
fi
build_type=$(sed -n 's/^CMAKE_BUILD_TYPE:[A-Z]*=//p' "$build/CMakeCache.txt" 2>/dev/null || true)
if [[ "$build_type" != Release && "$build_type" != RelWithDebInfo ]]; then
    echo "run-bench: warning: $build is a '${build_type:-unknown}' build; figures are not representative"
fi

shopt -s nullglob
status=0
ran=0
for exe in "$dir"/*_bench; do
    [[ -f "$exe" && -x "$exe" ]] || continue
    name=$(basename "$exe")
    echo "== $name"
    if ! "$exe" --benchmark_min_time="$min_time" \
        --benchmark_out="$dir/$name.json" --benchmark_out_format=json "$@"; then
        echo "run-bench: $name failed"
        status=1
    fi
    ran=$((ran + 1))
done
[[ $ran -gt 0 ]] || echo "run-bench: no *_bench programs in $dir"
exit $status
