#!/usr/bin/env bash
# The benchmark (not a test): prints a table of raw figures and ratios, every
# pair measured side by side in this one run under the same Wine, wineserver
# and display. The full run takes about a quarter of an hour; --quick gives
# a rough table in about two minutes for trying the command out.
# Usage: bash scripts/benchmark.sh [--quick]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${QUIMBEL_BUILD_DIR:-$root/build}
bash "$root/scripts/install-deps.sh"
targets=(Quimbel quimbel_floor quimbel_benchmark)
if grep -qs 'plain_release' "$root/tests/bench/CMakeLists.txt"; then targets+=(plain_release); fi
QUIMBEL_BUILD_DIR=$build bash "$root/scripts/build.sh" "${targets[@]}"

# Measure what is shipped: the stripped programs, the floor stripped alike.
bench=$build/bench
mkdir -p "$bench"
i686-w64-mingw32-strip -o "$bench/Quimbel.exe" "$build/Quimbel.exe"
i686-w64-mingw32-strip -o "$bench/QuimbelFloor.exe" "$build/tests/bench/quimbel_floor.exe"
plain=()
if [ -f "$build/tests/bench/plain_release.exe" ]; then plain=("--plain-release=Z:$build/tests/bench/plain_release.exe"); fi

if [ "${1:-}" = --quick ]; then
  amounts=(--seconds=10 --rounds=1 --startups=3 --releases=1 --warm-up-ticks=1000 --more-ticks=2000)
else
  amounts=(--seconds=60 --rounds=3 --startups=7 --releases=3 --warm-up-ticks=1000 --more-ticks=10000)
fi

# shellcheck source=wine-session.sh
. "$root/scripts/wine-session.sh"
wine_session_start need-display
path="PE32 Quimbel.exe under 32-bit Wine ($(wine --version)), Xvfb $DISPLAY"
echo "QuimbelUtility benchmark, $(date -u '+%Y-%m-%d %H:%M UTC')"
echo "machine: $(uname -srm), $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), $(nproc) cores," \
  "$(free -g | awk '/Mem:/ {print $2}') GB; load average $(cut -d' ' -f1-3 /proc/loadavg)"
wine "$build/tests/bench/quimbel_benchmark.exe" "--quimbel=Z:$bench/Quimbel.exe" \
  "--floor=Z:$bench/QuimbelFloor.exe" "${plain[@]}" "--wineprefix=$WINEPREFIX" \
  "--xserver-pid=${WINE_SESSION_XVFB_PID:-0}" "--path=$path" "${amounts[@]}"
