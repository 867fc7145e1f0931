#!/usr/bin/env bash
# Installs what is missing, builds and starts QuimbelUtility under Wine
# (on a headless X server when no display is set). The program runs in the
# run/ folder, which holds its working files (face sets, help file, faces
# page) and its settings file quimbel.ini, and nothing else.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${QUIMBEL_BUILD_DIR:-$root/build}
bash "$root/scripts/install-deps.sh"
QUIMBEL_BUILD_DIR=$build bash "$root/scripts/build.sh" Quimbel quimbel_workdir
# Refresh the working files but keep the user's settings.
mkdir -p "$root/run"
find "$root/run" -mindepth 1 -maxdepth 1 ! -name quimbel.ini -exec rm -rf {} +
cp -a "$build/workdir/." "$root/run/"
# A persistent prefix, outside the run folder (a folder there would be
# offered as a face set), so a second start finds the first one's set-up.
export WINEPREFIX=${WINEPREFIX:-$build/wineprefix}
# shellcheck source=wine-session.sh
. "$root/scripts/wine-session.sh"
wine_session_start
cd "$root/run"
echo "QuimbelUtility is running on display $DISPLAY; close its window to end."
wine "$build/Quimbel.exe"
