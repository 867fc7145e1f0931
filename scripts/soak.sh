#!/usr/bin/env bash
# The soak: 50,000 ticks (or the count given) sent to the real program as
# timer messages, with the monitor window and the settings dialog opened and
# closed along the way; then checks drawing, drawing objects and memory.
# Runs on the host's path (see host-path.sh; QUIMBEL_FORCE_64=1 forces the
# 64-bit one). Usage: bash scripts/soak.sh [ticks]
# shellcheck source=on-host-path.sh
. "$(dirname "$0")/on-host-path.sh"
quimbel_run_endurance quimbel_soak "--ticks=${1:-50000}"
