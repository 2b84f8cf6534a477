#!/usr/bin/env bash
# Builds the benchmarks in Release and runs them; extra arguments go to
# Google Benchmark (for example --benchmark_filter=CharSet).
#
#   scripts/bench.sh --table [REPETITIONS]
# runs only the evaluator benchmarks, each REPETITIONS times (5 unless
# given), interleaved in random order, and prints the tables of
# bench/README.md: medians with their spread and our time ÷ each reference.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/install-deps.sh

cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DKAVIRO_BUILD_TESTS=OFF >/dev/null
cmake --build build/bench -j "$(nproc)" --target kaviro_bench kaviro_render_bench kaviro_startup_bench kaviro_windows_bench
# muparser's bulk mode is threaded with OpenMP; one thread, as ours runs.
# (kaviro_bench also sets it itself.)
export OMP_NUM_THREADS=1
export QT_QPA_PLATFORM=offscreen

if [[ "${1:-}" == "--table" ]]; then
  repetitions="${2:-5}"
  results=build/bench/evaluators.csv
  build/bench/bench/kaviro_bench --benchmark_filter='^(Array/|KaviroEval/|KaviroAlone/|MuParserEval/)' \
    --benchmark_repetitions="$repetitions" --benchmark_enable_random_interleaving=true \
    --benchmark_out="$results" --benchmark_out_format=csv >/dev/null
  awk -f scripts/bench_table.awk bench/array_formulas.txt "$results"
  exit 0
fi

build/bench/bench/kaviro_bench "$@"
build/bench/bench/kaviro_render_bench "$@"
build/bench/bench/kaviro_windows_bench "$@"
# The program's start needs a display: a virtual one, with no platform override.
env -u QT_QPA_PLATFORM xvfb-run -a -s "-screen 0 1280x1024x24" build/bench/bench/kaviro_startup_bench "$@"
