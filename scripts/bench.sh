#!/usr/bin/env bash
# Builds the benchmarks in Release (build/bench), runs every one of them and
# prints each figure beside its target. Exits non-zero when a target is
# missed. Takes a minute or two; not part of the test command.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build/bench"
results="$build/results"

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DPELLOX_BUILD_TESTS=OFF -DPELLOX_BUILD_BENCH=ON >/dev/null
cmake --build "$build" -j "${BENCH_JOBS:-2}" --target list_file_bench run_timing_bench startup_bench editing_bench window_load_bench

export QT_QPA_PLATFORM=offscreen
mkdir -p "$results"
for bench in list_file_bench run_timing_bench startup_bench editing_bench window_load_bench; do
  echo "running $bench ..."
  "$build/bench/$bench" --benchmark_out="$results/$bench.json" --benchmark_out_format=json \
    >"$results/$bench.log" 2>&1 || { cat "$results/$bench.log"; exit 1; }
done

python3 "$root/bench/report.py" "$results"
