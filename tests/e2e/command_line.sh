#!/usr/bin/env bash
# The command line as a player meets it: --help and --version answer and end
# with 0 before any window opens; an unknown option or a bad value says what
# is wrong, points to --help and ends with 2.
#
#   bash tests/e2e/command_line.sh path/to/kordavan
set -euo pipefail
source "$(dirname "$0")/lib.bash"
[ $# -eq 1 ] && [ -x "$1" ] || { echo "usage: $0 path/to/kordavan" >&2; exit 2; }
kordavan="$(realpath "$1")"

e2e_begin command_line 60

# run ARGUMENTS...: exit code in $status, output in $E2E_TMP/out and err,
# with no display at all, so nothing may try to open a window.
run() {
    status=0
    timeout 10 env -u DISPLAY -u WAYLAND_DISPLAY "$kordavan" "$@" \
        >"$E2E_TMP/out" 2>"$E2E_TMP/err" || status=$?
}

run --help
e2e_check "--help ends with 0 (got $status)" [ "$status" = 0 ]
for word in --window --fullscreen --scale --integer-scale --no-sound --volume \
    --pause-on-focus-loss --version Space Escape Return F11 Alt+Enter Pause; do
    e2e_check "--help names $word" grep -q -- "$word" "$E2E_TMP/out"
done

run --version
e2e_check "--version ends with 0 (got $status)" [ "$status" = 0 ]
e2e_check "--version prints the version" grep -qE '^kordavan [0-9]+\.[0-9]+' "$E2E_TMP/out"

for bad in "--bogus" "--scale 0" "--scale x" "--volume 101" "--volume" "stray"; do
    # shellcheck disable=SC2086
    run $bad
    e2e_check "'$bad' ends with 2 (got $status)" [ "$status" = 2 ]
    e2e_check "'$bad' points to --help on standard error" grep -q -- "--help" "$E2E_TMP/err"
    e2e_check "'$bad' prints nothing on standard output" [ ! -s "$E2E_TMP/out" ]
done
e2e_summary
