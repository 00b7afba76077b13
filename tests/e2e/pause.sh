#!/usr/bin/env bash
# P pauses play in a real window: the frame stays on screen, darkened, and
# nothing moves until P is pressed again, the settings screen opened and
# closed over it included; then play goes on.
#
#   bash tests/e2e/pause.sh path/to/kordavan
set -euo pipefail
source "$(dirname "$0")/lib.bash"
source "$(dirname "$0")/scenarios.bash"
[ $# -eq 1 ] && [ -x "$1" ] || { echo "usage: $0 path/to/kordavan" >&2; exit 2; }
kordavan="$(realpath "$1")"

e2e_begin pause 90
e2e_xvfb 640x480
e2e_start_playing "$kordavan"
e2e_shot playing

# P, the settings screen over the pause, P again: the shots "paused" and,
# 2 s later, "still_paused" show the paused frame.
scenario_settings_over_pause
e2e_check "the paused frame is darkened" \
    e2e_image darker "$E2E_TMP/playing.rgb" "$E2E_TMP/paused.rgb" 0.65
e2e_check_not "nothing moves while paused" \
    e2e_image changed "$E2E_TMP/paused.rgb" "$E2E_TMP/still_paused.rgb" 0 0 640 480 0.001

sleep 1
e2e_shot again1
# The rotor alone may show the same frame a whole second later; Left moves the
# world for certain.
e2e_hold Left 1
e2e_shot again2
e2e_check_not "after the second P the frame is bright again" \
    e2e_image darker "$E2E_TMP/playing.rgb" "$E2E_TMP/again1.rgb" 0.65
e2e_check "play goes on: Left moves the world again" \
    e2e_image changed "$E2E_TMP/again1.rgb" "$E2E_TMP/again2.rgb" 0 0 640 480 0.01

e2e_hold Escape 0.2
e2e_check_ends 5 "Escape"
e2e_show_stderr
e2e_summary
