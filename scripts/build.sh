#!/usr/bin/env bash
# Configures and builds one path's build: everything, or the targets named
# as arguments (run.sh builds only the program). QUIMBEL_ARCH=32 (default)
# builds build/ with the i686 MinGW; QUIMBEL_ARCH=64 builds build-x64/ with
# the x86_64 MinGW, and before it the 32-bit Quimbel.exe in build/, which the
# resource and image checks read on either path.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source=host-path.sh
. "$root/scripts/host-path.sh"
arch=${QUIMBEL_ARCH:-32}

configure() {
  local build=$1 toolchain=$2
  shift 2
  cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DQUIMBEL_TESTS=ON \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/$toolchain" \
    -DCMAKE_CROSSCOMPILING_EMULATOR="$root/tests/wine-exec.sh" "$@" >/dev/null
}

targets=()
for target in "$@"; do targets+=(--target "$target"); done

build32=$(quimbel_build_dir "$root" 32)
if [ "$arch" = 64 ]; then
  build64=$(quimbel_build_dir "$root" 64)
  if [ $# -eq 0 ]; then
    configure "$build32" mingw-i686.cmake
    cmake --build "$build32" -j"$(nproc)" --target Quimbel
  fi
  configure "$build64" mingw-x86_64.cmake -DQUIMBEL_PE32_EXE="$build32/Quimbel.exe"
  cmake --build "$build64" -j"$(nproc)" "${targets[@]}"
else
  configure "$build32" mingw-i686.cmake
  cmake --build "$build32" -j"$(nproc)" "${targets[@]}"
fi
