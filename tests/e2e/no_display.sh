#!/usr/bin/env bash
# With no display at all the window cannot be made: the program says why on
# standard error (no message box can show), with the video driver's reason,
# and ends with exit code 1.
#
#   bash tests/e2e/no_display.sh path/to/kordavan
set -euo pipefail
source "$(dirname "$0")/lib.bash"
[ $# -eq 1 ] && [ -x "$1" ] || { echo "usage: $0 path/to/kordavan" >&2; exit 2; }
kordavan="$(realpath "$1")"

e2e_begin no_display 40
status=0
timeout 20 env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER SDL_AUDIODRIVER=dummy \
    "$kordavan" >"$E2E_TMP/game.stdout" 2>"$E2E_TMP/game.stderr" || status=$?
e2e_log "exit code $status; standard error: $(head -c 300 "$E2E_TMP/game.stderr")"
e2e_check "without a display the program ends with exit code 1" [ "$status" = 1 ]
e2e_check "the start-up failure is told on standard error" \
    grep -q 'Error Registering Window Class' "$E2E_TMP/game.stderr"
e2e_check "standard error also gives the video driver's reason" \
    grep -q 'no video driver can show the game' "$E2E_TMP/game.stderr"
e2e_summary
