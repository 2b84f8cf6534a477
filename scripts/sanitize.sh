#!/usr/bin/env bash
# Builds everything with AddressSanitizer, UndefinedBehaviorSanitizer (with
# float-cast-overflow) and LeakSanitizer (build/asan, Debug) and runs:
#   - every test program once whole, then shuffled with each seed;
#   - the program smoke check and the end-to-end walk of the real program
#     under xvfb-run with openbox (tests/windows/program-end-to-end.sh).
# Any sanitizer report fails the run; the reports stay in build/asan/logs.
# Not part of CI: the build and the runs take a long while.
#
#   scripts/sanitize.sh [SEED...]      shuffle seeds, 1 2 3 unless given
# KAVIRO_SANITIZE_FILTER=Pattern* passes --gtest_filter to every test program.
set -uo pipefail
cd "$(dirname "$0")/.."

./scripts/install-deps.sh || exit 1

export CCACHE_DIR="${CCACHE_DIR:-${XDG_CACHE_HOME:-$HOME/.cache}/ccache}"
export CCACHE_BASEDIR="$PWD"
export CCACHE_NOHASHDIR=1
flags="-fsanitize=address,undefined -fsanitize=float-cast-overflow -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
cmake -S . -B build/asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKAVIRO_BUILD_BENCH=OFF \
  -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="$flags" -DCMAKE_SHARED_LINKER_FLAGS="$flags" >/dev/null || exit 1
cmake --build build/asan -j "$(nproc)" || exit 1

seeds=("$@")
[[ ${#seeds[@]} -eq 0 ]] && seeds=(1 2 3)

logs="$PWD/build/asan/logs"
rm -rf "$logs"
mkdir -p "$logs"
# Each process writes its reports to a file of its own (log_path adds the
# process id), so that reports of the program under the end-to-end walk are
# kept too.
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:detect_stack_use_after_return=1:check_initialization_order=1:log_path=$logs/asan"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1:log_path=$logs/ubsan"
export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp:print_suppressions=0"

# Private settings and runtime folders, as ./test.sh gives its tests.
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
export XDG_CONFIG_HOME="$scratch/config" XDG_DATA_HOME="$scratch/data"
export XDG_CACHE_HOME="$scratch/cache" XDG_RUNTIME_DIR="$scratch/runtime"
mkdir -p "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_CACHE_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"

status=0
# Runs the command, its output kept in the logs; says how it went.
run() {
  local name=$1
  shift
  if "$@" >"$logs/$name.out" 2>&1; then
    echo "clean: $name"
  else
    echo "FAILED: $name (build/asan/logs/$name.out)"
    tail -n 30 "$logs/$name.out"
    return 1
  fi
}

# The test programs run side by side, each whole and then shuffled with
# every seed in turn.
filter=()
[[ -n "${KAVIRO_SANITIZE_FILTER:-}" ]] && filter=(--gtest_filter="$KAVIRO_SANITIZE_FILTER")
export QT_QPA_PLATFORM=offscreen
runs=()
for program in $(find build/asan/tests -name 'kaviro_*_tests' -type f -executable | sort); do
  name=$(basename "$program")
  (
    failed=0
    run "$name" "$program" --gtest_brief=1 "${filter[@]}" || failed=1
    for seed in "${seeds[@]}"; do
      run "$name-shuffle-$seed" "$program" --gtest_brief=1 --gtest_shuffle --gtest_random_seed="$seed" "${filter[@]}" ||
        failed=1
    done
    exit $failed
  ) &
  runs+=($!)
done
for job in "${runs[@]}"; do
  wait "$job" || status=1
done

if [[ -z "${KAVIRO_SANITIZE_FILTER:-}" ]]; then
  unset QT_QPA_PLATFORM
  run smoke build/asan/tests/windows/kaviro_smoke_check "$(command -v xvfb-run)" build/asan/app/kaviro \
    tests/windows/data/sample.kvf "$logs/smoke.png" || status=1
  run end-to-end tests/windows/program-end-to-end.sh build/asan/app/kaviro build/asan/tools/kaviro-render/kaviro-render \
    demo.kvf sample/01-funcao-com-parametros.kvf build/asan/tests/windows/kaviro_picture_check || status=1
fi

# A report from a process whose exit the runs above do not see (the program
# under the walk, a child) fails the run too.
for report in "$logs"/asan.* "$logs"/ubsan.*; do
  [[ -e "$report" ]] || continue
  echo "REPORT: $report"
  head -n 40 "$report"
  status=1
done
exit $status
