#!/usr/bin/env bash
# The bad-input run: the real program on at least 1,000 generated settings
# files, 200 broken face files, odd directory names and very long working
# directories (fixed seeds). Prints the cases per category; exits non-zero
# on any crash, hang or lost settings key.
# Usage: bash scripts/bad-input.sh [settings files] [face files]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${QUIMBEL_BUILD_DIR:-$root/build}
bash "$root/scripts/install-deps.sh"
QUIMBEL_BUILD_DIR=$build bash "$root/scripts/build.sh" Quimbel quimbel_bad_input
# shellcheck source=wine-session.sh
. "$root/scripts/wine-session.sh"
wine_session_start need-display
echo "path: PE32 Quimbel.exe under 32-bit Wine ($(wine --version))"
wine "$build/tests/endurance/quimbel_bad_input.exe" "--quimbel=Z:$build/Quimbel.exe" \
  "--settings=${1:-1000}" "--faces=${2:-200}"
