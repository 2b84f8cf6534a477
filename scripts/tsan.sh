#!/usr/bin/env bash
# Builds the engine, drawing-layer, relation and redraw tests with
# ThreadSanitizer (build/tsan) and runs them: what runs on several threads
# at once (relation scans, the functions' column caches, the bands of a
# picture's replay) must show no race.
# Extra arguments go to every test program (e.g. --gtest_filter=Parallel*).
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/install-deps.sh

export CCACHE_DIR="${CCACHE_DIR:-${XDG_CACHE_HOME:-$HOME/.cache}/ccache}"
export CCACHE_BASEDIR="$PWD"
export CCACHE_NOHASHDIR=1
cmake -S . -B build/tsan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS="-fsanitize=thread -O1" \
  -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=thread" >/dev/null
cmake --build build/tsan -j "$(nproc)" --target kaviro_engine_tests kaviro_render_tests kaviro_plot_tests kaviro_scene_tests

export QT_QPA_PLATFORM=offscreen
export TSAN_OPTIONS="halt_on_error=1 suppressions=$PWD/scripts/tsan.supp"
for program in engine/kaviro_engine_tests render/plot/kaviro_plot_tests render/scene/kaviro_scene_tests; do
  "build/tsan/tests/$program" --gtest_brief=1 "$@"
done
# Of the drawing layer's tests only the replay draws on several threads; the
# others start converters as child processes, after which the sanitizer
# allows no new thread.
build/tsan/tests/render/kaviro_render_tests --gtest_brief=1 --gtest_filter='*PictureReplayCache*' "$@"
