#!/usr/bin/env bash
# The bad-input run: the real program on at least 1,000 generated settings
# files, 200 broken face files, odd directory names and very long working
# directories (fixed seeds). Prints the cases per category; exits non-zero
# on any crash, hang or lost settings key. Runs on the host's path (see
# host-path.sh). Usage: bash scripts/bad-input.sh [settings files] [face files]
# shellcheck source=on-host-path.sh
. "$(dirname "$0")/on-host-path.sh"
quimbel_run_endurance quimbel_bad_input "--settings=${1:-1000}" "--faces=${2:-200}"
