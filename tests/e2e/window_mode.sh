#!/usr/bin/env bash
# Window or full screen on a 1280x1024 screen: --window --scale 2 makes a
# 1280x960 window; F11 switches to full screen and back, and the settings
# file remembers the choice; Alt+Enter switches too.
#
#   bash tests/e2e/window_mode.sh path/to/kordavan
set -euo pipefail
source "$(dirname "$0")/lib.bash"
[ $# -eq 1 ] && [ -x "$1" ] || { echo "usage: $0 path/to/kordavan" >&2; exit 2; }
kordavan="$(realpath "$1")"

e2e_begin window_mode 90
e2e_xvfb 1280x1024

e2e_start_game "$kordavan" --window --scale 2
e2e_settles_at 1280x960 "--window --scale 2"
e2e_shot window
e2e_check "the title shows in the window" e2e_image varied "$E2E_TMP/window.rgb" 0 0 640 480 64

e2e_hold F11 0.2
e2e_settles_at 1280x1024 "F11"
e2e_check "the settings file remembers full screen" \
    grep -q '^display = fullscreen' "$E2E_TMP/config/kordavan/kordavan.conf"

e2e_hold F11 0.2
e2e_settles_at 1280x960 "F11 again"
e2e_check "the settings file remembers the window" \
    grep -q '^display = window' "$E2E_TMP/config/kordavan/kordavan.conf"

e2e_focus
timeout 5 xdotool keydown alt keydown Return
sleep 0.2
timeout 5 xdotool keyup Return keyup alt
e2e_settles_at 1280x1024 "Alt+Enter"

e2e_hold Escape 0.2
e2e_check_ends 5 "Escape"

# The remembered choice is the next run's default.
e2e_start_game "$kordavan" --scale 2
e2e_settles_at 1280x1024 "the next run, full screen as remembered"
e2e_hold Escape 0.2
e2e_wait_exit 5 || e2e_fail "the game did not end after Escape"
e2e_show_stderr
e2e_summary
