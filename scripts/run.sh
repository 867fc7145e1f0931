#!/usr/bin/env bash
# Installs what is missing, builds and starts QuimbelUtility under Wine
# (on a headless X server when no display is set). Its settings file is
# written to the run/ folder, the program's current directory.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${QUIMBEL_BUILD_DIR:-$root/build}
bash "$root/scripts/install-deps.sh"
QUIMBEL_BUILD_DIR=$build bash "$root/scripts/build.sh" Quimbel
# A persistent prefix, so a second start finds the first one's set-up.
mkdir -p "$root/run"
export WINEPREFIX=${WINEPREFIX:-$root/run/wineprefix}
# shellcheck source=wine-session.sh
. "$root/scripts/wine-session.sh"
wine_session_start
cd "$root/run"
echo "QuimbelUtility is running on display $DISPLAY; close its window to end."
wine "$build/Quimbel.exe"
