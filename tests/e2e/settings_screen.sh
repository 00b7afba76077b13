#!/usr/bin/env bash
# The settings screen in a real window: O opens it over the title, the
# volume and a key are changed with real key presses, Escape closes it, the
# settings file has just those two lines changed, and a game started again
# shows them on its screen; then the player's own keys swapped leave the
# screen's arrows as they are.
#
#   bash tests/e2e/settings_screen.sh path/to/kordavan
set -euo pipefail
source "$(dirname "$0")/lib.bash"
source "$(dirname "$0")/scenarios.bash"
[ $# -eq 1 ] && [ -x "$1" ] || { echo "usage: $0 path/to/kordavan" >&2; exit 2; }
kordavan="$(realpath "$1")"
# The title picture the game was built with, to compare the title with.
E2E_TITLE_BMP="$(dirname "$kordavan")/assets/151.bmp"

e2e_begin settings_screen 150
e2e_xvfb 640x480
E2E_CONF="$E2E_TMP/config/kordavan/kordavan.conf"
E2E_EOL=$'\n'
mkdir -p "$(dirname "$E2E_CONF")"
printf '# my own settings\nvolume = 100\nfuture-thing = 7\n' >"$E2E_CONF"

scenario_settings_change "$kordavan"
e2e_tap Escape
e2e_wait_exit 5 || e2e_die "the game did not end after Escape on the title"
e2e_check "Escape on the title ends the game with 0 (got $GAME_EXIT)" [ "$GAME_EXIT" = 0 ]

e2e_start_game "$kordavan"
sleep 1
scenario_settings_kept
e2e_tap Escape
e2e_check_ends 5 "Escape"

scenario_settings_own_keys "$kordavan"
sleep 0.5
e2e_tap Escape
e2e_check_ends 5 "Escape after the own keys"
e2e_show_stderr
e2e_summary
