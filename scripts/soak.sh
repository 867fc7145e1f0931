#!/usr/bin/env bash
# The soak: 50,000 ticks (or the count given) sent to the real program as
# timer messages, with the monitor window and the settings dialog opened and
# closed along the way; then checks drawing, drawing objects and memory.
# Usage: bash scripts/soak.sh [ticks]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${QUIMBEL_BUILD_DIR:-$root/build}
bash "$root/scripts/install-deps.sh"
QUIMBEL_BUILD_DIR=$build bash "$root/scripts/build.sh" Quimbel quimbel_soak
# shellcheck source=wine-session.sh
. "$root/scripts/wine-session.sh"
wine_session_start need-display
echo "path: PE32 Quimbel.exe under 32-bit Wine ($(wine --version))"
wine "$build/tests/endurance/quimbel_soak.exe" "--quimbel=Z:$build/Quimbel.exe" "--ticks=${1:-50000}"
