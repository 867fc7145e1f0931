#!/usr/bin/env bash
# Builds the release zip dist/QuimbelUtility-3.0.zip: Quimbel.exe (the PE32,
# stripped), x64/Quimbel.exe, the working files at the root and readme.txt.
# QUIMBEL_PACKAGE_PARTIAL=1 packs what there is even when the help file,
# the faces page or the face sets are missing (for trying the command).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${QUIMBEL_BUILD_DIR:-$root/build}
build64=${QUIMBEL_BUILD_X64_DIR:-$root/build-x64}
bash "$root/scripts/install-deps.sh"
QUIMBEL_BUILD_DIR=$build bash "$root/scripts/build.sh" Quimbel quimbel_workdir

toolchain64=$root/cmake/mingw-x86_64.cmake
if [ ! -f "$toolchain64" ]; then
  # Until the project carries its own 64-bit toolchain file.
  mkdir -p "$build64"
  toolchain64=$build64/package-toolchain.cmake
  sed 's/i686/x86_64/g' "$root/cmake/mingw-i686.cmake" >"$toolchain64"
fi
cmake -S "$root" -B "$build64" -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$toolchain64" >/dev/null
cmake --build "$build64" -j"$(nproc)" --target Quimbel

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
i686-w64-mingw32-strip -o "$stage/Quimbel.exe" "$build/Quimbel.exe"
x86_64-w64-mingw32-strip -o "$stage/Quimbel64.exe" "$build64/Quimbel.exe"

require=(--require quimbel.hlp --require faces.html --min-face-sets 2)
[ "${QUIMBEL_PACKAGE_PARTIAL:-0}" = 1 ] && require=()
mkdir -p "$root/dist"
python3 "$root/scripts/make_release_zip.py" --exe "$stage/Quimbel.exe" --exe64 "$stage/Quimbel64.exe" \
  --workdir "$build/workdir" --readme "$root/res/release/readme.txt" "${require[@]}" \
  --out "$root/dist/QuimbelUtility-3.0.zip"
