# shellcheck shell=bash
# Sourced first by run.sh, soak.sh, bad-input.sh and benchmark.sh: installs
# what is missing, picks the path this host runs (see host-path.sh;
# QUIMBEL_FORCE_64=1 forces the 64-bit one) and sets `root`, QUIMBEL_ARCH
# (exported, for build.sh and wine-session.sh) and `build`, that path's
# build folder.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# shellcheck source=host-path.sh
. "$root/scripts/host-path.sh"
bash "$root/scripts/install-deps.sh"
quimbel_pick_path
export QUIMBEL_ARCH
build=$(quimbel_build_dir "$root" "$QUIMBEL_ARCH")

# Builds one endurance program and runs it under Wine on a display against
# the program, with the arguments given: what soak.sh and bad-input.sh are.
quimbel_run_endurance() {
  local program=$1
  shift
  bash "$root/scripts/build.sh" Quimbel "$program"
  # shellcheck source=wine-session.sh
  . "$root/scripts/wine-session.sh"
  wine_session_start need-display
  echo "path: $(quimbel_describe_path "$root" "$QUIMBEL_ARCH") ($(quimbel_wine --version)): $QUIMBEL_PATH_REASON."
  quimbel_wine "$build/tests/endurance/$program.exe" "--quimbel=Z:$build/Quimbel.exe" "$@"
}
