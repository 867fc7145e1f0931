#!/usr/bin/env bash
# The bad-input run: the real program on at least 1,000 generated settings
# files, 200 broken face files, odd directory names and very long working
# directories (fixed seeds). Prints the cases per category; exits non-zero
# on any crash, hang or lost settings key. Runs on the host's path (see
# host-path.sh). Usage: bash scripts/bad-input.sh [settings files] [face files]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source=host-path.sh
. "$root/scripts/host-path.sh"
bash "$root/scripts/install-deps.sh"
quimbel_pick_path
export QUIMBEL_ARCH
build=$(quimbel_build_dir "$root" "$QUIMBEL_ARCH")
bash "$root/scripts/build.sh" Quimbel quimbel_bad_input
# shellcheck source=wine-session.sh
. "$root/scripts/wine-session.sh"
wine_session_start need-display
echo "path: $(quimbel_describe_path "$root" "$QUIMBEL_ARCH") ($(quimbel_wine --version)): $QUIMBEL_PATH_REASON."
quimbel_wine "$build/tests/endurance/quimbel_bad_input.exe" "--quimbel=Z:$build/Quimbel.exe" \
  "--settings=${1:-1000}" "--faces=${2:-200}"
