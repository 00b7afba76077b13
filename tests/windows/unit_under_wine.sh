#!/usr/bin/env bash
# Runs the Windows build's test program under Wine with a private X server,
# for the tests that open a real window.
#
#   bash tests/windows/unit_under_wine.sh BUILD-DIR kordavan-tests.exe [GTEST-OPTION...]
set -uo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/../e2e/lib.bash"
source "$here/wine_lib.bash"
build="$(cd "$1" && pwd)"
shift
e2e_begin windows_unit 540
wine_prefix "$build" || e2e_die "no Wine prefix"
e2e_xvfb 640x480
status=0
wine "$@" || status=$?
exit "$status"
