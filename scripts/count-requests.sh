#!/usr/bin/env bash
# Counts what one tick of the status window asks of wineserver: the requests
# of the program's window thread in the server's own log, averaged over the
# ticks sent (200 by default), by request and by part of the tick, and the
# system calls a tick (strace -c) where strace is installed. Counted, not
# timed, so the figures hold on a busy machine.
#
# It runs on the host's path (see host-path.sh; QUIMBEL_FORCE_64=1 forces
# the 64-bit one) in a Wine prefix of its own, whose wineserver logs every
# request ("wineserver -f -d1"); an X display that is set is reused.
#
# Usage: bash scripts/count-requests.sh [--ticks=N | --seconds=N] [--max=N] [--detail] [--no-build]
#   --ticks=N   N ticks sent back to back as WM_TIMER messages (200)
#   --seconds=N the program's own timer instead, for N seconds
#   --detail    also each part's requests by name
#   --max=N     the test: counts the program alone (no parts, no strace) and
#               exits 1 when a tick makes more than N requests
#   --no-build  use the build as it is (ctest runs it so, with QUIMBEL_ARCH set)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source=host-path.sh
. "$root/scripts/host-path.sh"

ticks=200
seconds=""
max=""
detail=""
build_first=1
for arg in "$@"; do
  case $arg in
    --ticks=*) ticks=${arg#--ticks=} ;;
    --seconds=*) seconds=${arg#--seconds=} ;;
    --max=*) max=${arg#--max=} ;;
    --no-build) build_first=0 ;;
    --detail) detail=--detail ;;
    *) echo "unknown argument: $arg" >&2; exit 2 ;;
  esac
done

if [ "$build_first" = 1 ]; then
  bash "$root/scripts/install-deps.sh"
  quimbel_pick_path
  export QUIMBEL_ARCH
  bash "$root/scripts/build.sh" Quimbel quimbel_tick_parts quimbel_count_requests
else
  QUIMBEL_ARCH=${QUIMBEL_ARCH:-32}
  QUIMBEL_PATH_REASON="as the caller chose"
fi
build=$(quimbel_build_dir "$root" "$QUIMBEL_ARCH")

# A prefix of this run's own: its server is started here, with the log on.
unset WINEPREFIX WINEPREFIX64
# shellcheck source=wine-session.sh
. "$root/scripts/wine-session.sh"
wine_session_start
work=$(mktemp -d /tmp/quimbel-requests.XXXXXX)
stop_all() {
  [ -n "${strace_pid:-}" ] && kill "$strace_pid" 2>/dev/null || true
  wine_session_stop
  rm -rf "$work"
}
trap stop_all EXIT
log=$work/server.log
wineserver -f -d1 -p 2>"$log" &
# It says so once its socket is there; a program started before that would
# start a server of its own, one that logs nothing.
for _ in $(seq 1 100); do grep -q '^wineserver: starting' "$log" 2>/dev/null && break; sleep 0.1; done

handshake=()
parts=("--parts=$build/tests/bench/quimbel_tick_parts.exe")
[ -n "$max" ] && parts=()
if [ -z "$max" ] && command -v strace >/dev/null; then
  mkdir -p "$work/handshake"
  handshake=("--handshake=$work/handshake")
  # strace -c follows the program for exactly the measured ticks: attached
  # once the counter names the process, stopped when it says they are done.
  (
    wait_for() { for _ in $(seq 1 1200); do [ -e "$1" ] && return 0; sleep 0.1; done; return 1; }
    wait_for "$work/handshake/pid" || exit 0
    strace -c -f -o "$work/strace.txt" -p "$(cat "$work/handshake/pid")" 2>/dev/null &
    tracer=$!
    sleep 1
    touch "$work/handshake/go"
    wait_for "$work/handshake/done" || true
    kill -TERM "$tracer" 2>/dev/null || true
    wait "$tracer" 2>/dev/null || true
  ) &
  strace_pid=$!
fi

echo "Path: $(quimbel_describe_path "$root" "$QUIMBEL_ARCH"): $QUIMBEL_PATH_REASON ($(quimbel_wine --version))."
status=0
quimbel_wine "$build/tests/bench/quimbel_count_requests.exe" "--quimbel=$build/Quimbel.exe" \
  "${parts[@]}" "--log=$log" "--ticks=$ticks" \
  ${seconds:+"--seconds=$seconds"} ${max:+"--max=$max"} ${detail:+"$detail"} "${handshake[@]}" || status=$?

if [ -n "${strace_pid:-}" ]; then
  wait "$strace_pid" 2>/dev/null || true
  strace_pid=""
  # strace -c's rows: "<% time> <seconds> <usecs/call> <calls> [<errors>] <name>",
  # the last one named "total".
  calls=$(awk '$NF == "total" { print $4 }' "$work/strace.txt" 2>/dev/null || true)
  counted=$(cat "$work/handshake/done" 2>/dev/null || true)
  if [ -n "$calls" ] && [ "${counted:-0}" -gt 0 ]; then
    echo "system calls per tick: $(awk -v c="$calls" -v t="$counted" 'BEGIN { printf "%.0f", c / t }')" \
      "(strace -c, every thread of the program, the same ticks)"
    if [ -n "$detail" ]; then
      awk -v t="$counted" '$NF != "total" && $1 ~ /^[0-9.]+$/ && $2 ~ /^[0-9.]+$/ && NF >= 5 {
             printf "  %-28s %6.1f\n", $NF, $4 / t }' "$work/strace.txt"
    fi
  fi
fi
exit "$status"
