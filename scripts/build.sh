#!/usr/bin/env bash
# Configures and builds the program and its tests with the i686 MinGW.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${QUIMBEL_BUILD_DIR:-$root/build}
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DQUIMBEL_TESTS=ON \
  -DCMAKE_CROSSCOMPILING_EMULATOR="$root/tests/wine-exec.sh" >/dev/null
cmake --build "$build" -j"$(nproc)"
