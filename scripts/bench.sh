#!/usr/bin/env bash
# Builds the benchmarks in Release and runs them; extra arguments go to
# Google Benchmark (for example --benchmark_filter=CharSet).
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/install-deps.sh

cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DKAVIRO_BUILD_TESTS=OFF >/dev/null
cmake --build build/bench -j "$(nproc)" --target kaviro_bench kaviro_render_bench
# muparser threads its bulk mode with OpenMP, which is far slower here.
export OMP_NUM_THREADS=1
export QT_QPA_PLATFORM=offscreen
build/bench/bench/kaviro_bench "$@"
build/bench/bench/kaviro_render_bench "$@"
