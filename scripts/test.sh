#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test (unit tests and the
# end-to-end tests of the real program) under Wine on a private display.
# Arguments go to ctest (e.g. -R e2e_spine).
#
# It runs one path, chosen by what the host can do (see host-path.sh): the
# 32-bit build under 32-bit Wine where 32-bit code runs, else the 64-bit
# build under 64-bit Wine; QUIMBEL_FORCE_64=1 forces the 64-bit path.
# With --both-paths first it runs the 64-bit path always and then the 32-bit
# path wherever the host can run it and QUIMBEL_FORCE_64 is not set (CI
# does this). QUIMBEL_BUILD_DIR and QUIMBEL_BUILD_DIR_X64 move the two build
# folders; WINEPREFIX (32-bit path) and WINEPREFIX64 (64-bit path) name a
# prefix to reuse instead of making one per run.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source=host-path.sh
. "$root/scripts/host-path.sh"

both=0
if [ "${1:-}" = --both-paths ]; then
  both=1
  shift
fi

bash "$root/scripts/install-deps.sh"

# One path in a subshell of its own: its Wine session ends with it.
run_path() {
  local arch=$1 reason=$2
  shift 2
  echo "Test path: $(quimbel_describe_path "$root" "$arch"): $reason."
  (
    export QUIMBEL_ARCH=$arch
    # Called under ||, where set -e does not hold: stop on each failure.
    bash "$root/scripts/build.sh" || exit 1
    # shellcheck source=wine-session.sh
    . "$root/scripts/wine-session.sh"
    wine_session_start need-display || exit 1
    cd "$(quimbel_build_dir "$root" "$arch")" || exit 1
    local status=0
    # Every test sets its own time-out; this one holds for any that forgets.
    ctest --timeout 900 --output-on-failure "$@" || status=$?
    report_skipped
    exit "$status"
  )
}

# ctest shows a passing program's output only on failure: name each test
# that skipped itself on this path, with its reason, so none goes unseen.
report_skipped() {
  [ -f Testing/Temporary/LastTest.log ] || return 0
  awk '/: Skipped$/ { grab = 1; reason = ""; next }
       grab && /^\[  SKIPPED \] / {
         sub(/^\[  SKIPPED \] /, ""); sub(/ \([0-9]+ ms\)$/, "")
         print "Skipped on this path: " $0 (reason == "" ? "" : ": " reason)
         grab = 0; next }
       grab { reason = reason (reason == "" ? "" : " ") $0 }' Testing/Temporary/LastTest.log
}

if [ "$both" = 0 ]; then
  quimbel_pick_path
  run_path "$QUIMBEL_ARCH" "$QUIMBEL_PATH_REASON" "$@"
  exit
fi

status=0
run_path 64 "--both-paths runs it on every host" "$@" || status=1
if [ "${QUIMBEL_FORCE_64:-0}" = 1 ]; then
  echo "Test path: 32-bit path skipped: QUIMBEL_FORCE_64=1 is set."
elif quimbel_host_runs_32bit; then
  run_path 32 "--both-paths, and this host runs 32-bit programs" "$@" || status=1
else
  echo "Test path: 32-bit path skipped: $QUIMBEL_NO_32_REASON."
fi
exit "$status"
