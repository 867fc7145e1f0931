#!/usr/bin/env bash
# The soak: 50,000 ticks (or the count given) sent to the real program as
# timer messages, with the monitor window and the settings dialog opened and
# closed along the way; then checks drawing, drawing objects and memory.
# Runs on the host's path (see host-path.sh; QUIMBEL_FORCE_64=1 forces the
# 64-bit one). Usage: bash scripts/soak.sh [ticks]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source=host-path.sh
. "$root/scripts/host-path.sh"
bash "$root/scripts/install-deps.sh"
quimbel_pick_path
export QUIMBEL_ARCH
build=$(quimbel_build_dir "$root" "$QUIMBEL_ARCH")
bash "$root/scripts/build.sh" Quimbel quimbel_soak
# shellcheck source=wine-session.sh
. "$root/scripts/wine-session.sh"
wine_session_start need-display
echo "path: $(quimbel_describe_path "$root" "$QUIMBEL_ARCH") ($(quimbel_wine --version)): $QUIMBEL_PATH_REASON."
quimbel_wine "$build/tests/endurance/quimbel_soak.exe" "--quimbel=Z:$build/Quimbel.exe" "--ticks=${1:-50000}"
