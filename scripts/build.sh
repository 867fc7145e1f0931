#!/usr/bin/env bash
# Configures and builds with the i686 MinGW: everything, or the targets
# named as arguments (run.sh builds only the program).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${QUIMBEL_BUILD_DIR:-$root/build}
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DQUIMBEL_TESTS=ON \
  -DCMAKE_CROSSCOMPILING_EMULATOR="$root/tests/wine-exec.sh" >/dev/null
targets=()
for target in "$@"; do targets+=(--target "$target"); done
cmake --build "$build" -j"$(nproc)" "${targets[@]}"
