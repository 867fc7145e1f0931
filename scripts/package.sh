#!/usr/bin/env bash
# Builds the release zip dist/QuimbelUtility-3.0.zip: Quimbel.exe (the PE32,
# stripped), x64/Quimbel.exe, the working files at the root and readme.txt.
# QUIMBEL_PACKAGE_PARTIAL=1 packs what there is even when a help file, a
# help page, a faces page (Japanese or English) or the face sets are
# missing (for trying the command).
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

require=(--min-face-sets 2)
for file in quimbel.hlp quimbel_help.html faces.html quimbel_en.hlp quimbel_help_en.html faces_en.html; do
  require+=(--require "$file")
done
[ "${QUIMBEL_PACKAGE_PARTIAL:-0}" = 1 ] && require=()
mkdir -p "$root/dist"
python3 "$root/scripts/make_release_zip.py" --exe "$stage/Quimbel.exe" --exe64 "$stage/Quimbel64.exe" \
  --workdir "$build/workdir" --readme "$root/res/release/readme.txt" "${require[@]}" \
  --out "$root/dist/QuimbelUtility-3.0.zip"
