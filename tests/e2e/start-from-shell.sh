#!/usr/bin/env bash
# Starts a Windows program in the current directory from the Unix shell
# through the Wine loader of the test session, the way scripts/run.sh starts
# Quimbel.exe for a user. The test harness runs this through Wine (which
# runs a Unix program as such), so the program gets the address space of a
# user's start, not of a start by another Wine process.
#   start-from-shell.sh ARCH PROGRAM [ARGUMENTS...]    ARCH: 32 or 64
set -eu
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
export QUIMBEL_ARCH=$1
shift
# shellcheck source=../../scripts/wine-session.sh
. "$root/scripts/wine-session.sh"
wine_session_use_loader
# A test may start the program in another locale than the session's (and
# so another code page), as a user of another language would.
if [ -n "${QUIMBEL_PROGRAM_LANG:-}" ]; then
  export LANG=$QUIMBEL_PROGRAM_LANG LC_ALL=$QUIMBEL_PROGRAM_LANG
fi
quimbel_wine "$@"
