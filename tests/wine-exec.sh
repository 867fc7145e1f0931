#!/usr/bin/env bash
# Runs a test program under Wine in the session scripts/test.sh prepared:
# the loader of that session's path (WINELOADER), else Debian's `wine`.
exec "${WINELOADER:-wine}" "$@"
