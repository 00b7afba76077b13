#!/usr/bin/env bash
# Runs a Windows program under Wine in the prefix kept in the build folder,
# never in the user's home; the prefix is made once, at the first run, and
# reused (making one takes Wine the better part of a minute).
#
#   tests/windows/wine_run.sh BUILD-DIR PROGRAM.exe [ARGUMENT...]
#
# Standard input, output and error and the exit status are the program's.
set -uo pipefail
build="$(cd "$1" && pwd)"
shift
source "$(dirname "$0")/wine_lib.bash"
wine_prefix "$build" || exit 1
exec wine "$@"
