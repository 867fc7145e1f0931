#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test (unit tests and the
# end-to-end tests of the real program) under Wine on a private display.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${QUIMBEL_BUILD_DIR:-$root/build}
bash "$root/scripts/install-deps.sh"
QUIMBEL_BUILD_DIR=$build bash "$root/scripts/build.sh"
# shellcheck source=wine-session.sh
. "$root/scripts/wine-session.sh"
wine_session_start need-display
cd "$build"
ctest --output-on-failure "$@"
