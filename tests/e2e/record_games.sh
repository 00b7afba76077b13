#!/usr/bin/env bash
# "Record my games" in the real window: with record-games = yes in the
# settings file and no --record, a game played with real key presses leaves
# one new replay in the recordings folder beside the settings, which
# kordavan-trace plays back headless to the end the window saw; the
# player's own file in that folder stays as it was, and a run that never
# leaves the title adds nothing.
#
#   bash tests/e2e/record_games.sh path/to/kordavan path/to/kordavan-trace
set -euo pipefail
source "$(dirname "$0")/lib.bash"
source "$(dirname "$0")/scenarios.bash"
[ $# -eq 2 ] && [ -x "$1" ] && [ -x "$2" ] || {
    echo "usage: $0 path/to/kordavan path/to/kordavan-trace" >&2
    exit 2
}
kordavan="$(realpath "$1")"
# The title picture the game was built with, to compare the title with.
E2E_TITLE_BMP="$(dirname "$kordavan")/assets/151.bmp"
trace="$(realpath "$2")"

e2e_begin record_games 120
e2e_xvfb 640x480
export HOME="$E2E_TMP/home"
recordings="$E2E_TMP/config/kordavan/recordings"
E2E_CONF="$E2E_TMP/config/kordavan/kordavan.conf"
mkdir -p "$HOME" "$recordings"
printf '# mine\nrecord-games = yes\n' >"$E2E_CONF"
printf 'my notes\n' >"$recordings/notes.txt"

play_back() { "$trace" --replay "$1"; }

scenario_recorded_game "$kordavan" "$recordings" play_back
e2e_check "the player's own file stays" [ "$(cat "$recordings/notes.txt")" = "my notes" ]

# ---------------------------------------------------------------- title only
e2e_start_game "$kordavan" --window
sleep 1
e2e_hold Escape 0.2
e2e_wait_exit 10 || e2e_die "Escape did not end the game on the title"
e2e_check "the game quit from the title ends with 0" [ "$GAME_EXIT" = 0 ]
e2e_check "a run without a game adds no recording" [ "$(e2e_recordings "$recordings")" = "$RECORDING" ]

e2e_summary
