#!/usr/bin/env bash
# Builds the release zip dist/QuimbelUtility-3.0.zip: Quimbel.exe (the PE32,
# stripped), x64/Quimbel.exe, the working files at the root and readme.txt.
# QUIMBEL_PACKAGE_PARTIAL=1 packs what there is even when the help file,
# the help page, the faces page or the face sets are missing (for trying
# the command).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source=host-path.sh
. "$root/scripts/host-path.sh"
build=$(quimbel_build_dir "$root" 32)
build64=$(quimbel_build_dir "$root" 64)
bash "$root/scripts/install-deps.sh"
# Both builds, whatever this host runs: building needs no Wine.
QUIMBEL_ARCH=32 bash "$root/scripts/build.sh" Quimbel quimbel_workdir
QUIMBEL_ARCH=64 bash "$root/scripts/build.sh" Quimbel

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
i686-w64-mingw32-strip -o "$stage/Quimbel.exe" "$build/Quimbel.exe"
x86_64-w64-mingw32-strip -o "$stage/Quimbel64.exe" "$build64/Quimbel.exe"

require=(--require quimbel.hlp --require quimbel_help.html --require faces.html --min-face-sets 2)
[ "${QUIMBEL_PACKAGE_PARTIAL:-0}" = 1 ] && require=()
mkdir -p "$root/dist"
python3 "$root/scripts/make_release_zip.py" --exe "$stage/Quimbel.exe" --exe64 "$stage/Quimbel64.exe" \
  --workdir "$build/workdir" --readme "$root/res/release/readme.txt" "${require[@]}" \
  --out "$root/dist/QuimbelUtility-3.0.zip"
