#!/usr/bin/env bash
# Installs what is missing, builds Kaviro in Release and starts it.
# Usage: ./run.sh [project.kvf]   (a relative project path is taken from the
# folder the script was called from)
set -euo pipefail
root="$(cd "$(dirname "$0")" && pwd)"

(
  cd "$root"
  ./scripts/install-deps.sh
  cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DKAVIRO_BUILD_TESTS=OFF -DKAVIRO_BUILD_BENCH=OFF >/dev/null
  cmake --build build/release -j "$(nproc)" --target kaviro
)
exec "$root/build/release/app/kaviro" "$@"
