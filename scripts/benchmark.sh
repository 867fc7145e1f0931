#!/usr/bin/env bash
# The benchmark (not a test): prints a table of raw figures and ratios, every
# pair measured side by side in this one run under the same Wine, wineserver
# and display, and before them the counted figures of a tick (server
# requests and system calls, from a prefix of their own; they do not depend
# on the machine's load). The full run takes about a quarter of an hour;
# --quick gives a rough table in about two minutes for trying the command out.
# It runs on the host's path (see host-path.sh; QUIMBEL_FORCE_64=1 forces
# the 64-bit one) and prints it with the table.
# Usage: bash scripts/benchmark.sh [--quick]
# shellcheck source=on-host-path.sh
. "$(dirname "$0")/on-host-path.sh"
build32=$(quimbel_build_dir "$root" 32)
# The shipped PE32 for its size, whichever path runs.
QUIMBEL_ARCH=32 bash "$root/scripts/build.sh" Quimbel
bash "$root/scripts/build.sh" Quimbel quimbel_floor quimbel_benchmark plain_release quimbel_tick_parts \
  quimbel_count_requests

# Measure what is shipped: the stripped programs, the floor stripped alike.
strip=i686-w64-mingw32-strip
[ "$QUIMBEL_ARCH" = 64 ] && strip=x86_64-w64-mingw32-strip
bench=$build/bench
mkdir -p "$bench"
i686-w64-mingw32-strip -o "$bench/Shipped.exe" "$build32/Quimbel.exe"
$strip -o "$bench/Quimbel.exe" "$build/Quimbel.exe"
$strip -o "$bench/QuimbelFloor.exe" "$build/tests/bench/quimbel_floor.exe"

if [ "${1:-}" = --quick ]; then
  amounts=(--seconds=10 --rounds=1 --startups=3 --releases=1 --warm-up-ticks=1000 --more-ticks=2000)
else
  amounts=(--seconds=60 --rounds=3 --startups=7 --releases=3 --warm-up-ticks=1000 --more-ticks=10000)
fi

# Counted, not timed, in a prefix of its own whose server logs every request
# (the same figures as scripts/count-requests.sh prints).
counts=$(bash "$root/scripts/count-requests.sh" --no-build 2>/dev/null || true)
requests=$(printf '%s\n' "$counts" | sed -n 's/^server requests per tick: \([0-9.]*\).*/\1/p')
system_calls=$(printf '%s\n' "$counts" | sed -n 's/^system calls per tick: \([0-9.]*\).*/\1/p')

# shellcheck source=wine-session.sh
. "$root/scripts/wine-session.sh"
wine_session_start need-display
path="$(quimbel_describe_path "$root" "$QUIMBEL_ARCH") ($(quimbel_wine --version)), Xvfb $DISPLAY: $QUIMBEL_PATH_REASON"
echo "QuimbelUtility benchmark, $(date -u '+%Y-%m-%d %H:%M UTC')"
echo "machine: $(uname -srm), $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), $(nproc) cores," \
  "$(free -g | awk '/Mem:/ {print $2}') GB; load average $(cut -d' ' -f1-3 /proc/loadavg)"
quimbel_wine "$build/tests/bench/quimbel_benchmark.exe" "--quimbel=Z:$bench/Quimbel.exe" \
  "--shipped=Z:$bench/Shipped.exe" "--floor=Z:$bench/QuimbelFloor.exe" \
  "--plain-release=Z:$build/tests/bench/plain_release.exe" "--wineprefix=$WINEPREFIX" \
  "--xserver-pid=${WINE_SESSION_XVFB_PID:-0}" "--path=$path" "${amounts[@]}" \
  ${requests:+"--requests-per-tick=$requests"} ${system_calls:+"--system-calls-per-tick=$system_calls"}
