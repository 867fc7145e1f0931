#!/usr/bin/env bash
# Runs a test program under Wine in the session scripts/test.sh prepared.
exec wine "$@"
