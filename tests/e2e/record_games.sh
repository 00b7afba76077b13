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
[ $# -eq 2 ] && [ -x "$1" ] && [ -x "$2" ] || {
    echo "usage: $0 path/to/kordavan path/to/kordavan-trace" >&2
    exit 2
}
kordavan="$(realpath "$1")"
trace="$(realpath "$2")"

e2e_begin record_games 120
e2e_xvfb 640x480
export HOME="$E2E_TMP/home"
recordings="$E2E_TMP/config/kordavan/recordings"
mkdir -p "$HOME" "$recordings"
printf '# mine\nrecord-games = yes\n' >"$E2E_TMP/config/kordavan/kordavan.conf"
printf 'my notes\n' >"$recordings/notes.txt"

kept() { find "$recordings" -maxdepth 1 -type f -name 'Kordavan ????-??-?? ??-??-??*.replay' | sort; }

# ---------------------------------------------------------------- a game
e2e_start_playing "$kordavan" --window
# The first game line goes in at the game's first step.
for _ in $(seq 100); do
    [ -n "$(kept)" ] && break
    sleep 0.1
done
e2e_hold Left 1
e2e_hold Up 0.4
e2e_hold Escape 0.2
e2e_wait_exit 10 || e2e_die "Escape did not end the game"
e2e_check "the game quit in play ends with 0" [ "$GAME_EXIT" = 0 ]
# (SDL's disk audio driver says where it writes; the game says nothing.)
e2e_check_not "the game said nothing on standard error" grep -q '^kordavan' "$E2E_TMP/game.stderr"
mapfile -t files < <(kept)
e2e_check "one recording in the folder" [ "${#files[@]}" = 1 ]
[ "${#files[@]}" = 1 ] || e2e_summary
recording="${files[0]}"
e2e_log "recorded: $(basename "$recording"), $(wc -l <"$recording") lines"
e2e_check "it holds a game that was quit" grep -q '^end quit ' "$recording"
e2e_check "the flight went left" grep -q 'LEFT' "$recording"
status=0
"$trace" --replay "$recording" >"$E2E_TMP/trace.out" 2>"$E2E_TMP/trace.err" || status=$?
e2e_check "kordavan-trace plays the recording back as it went" [ "$status" = 0 ]
[ "$status" = 0 ] || sed -n '1,10p' "$E2E_TMP/trace.err"
e2e_check "and steps through it" [ "$(wc -l <"$E2E_TMP/trace.out")" -gt 60 ]
e2e_check "the player's own file stays" [ "$(cat "$recordings/notes.txt")" = "my notes" ]

# ---------------------------------------------------------------- title only
e2e_start_game "$kordavan" --window
sleep 1
e2e_hold Escape 0.2
e2e_wait_exit 10 || e2e_die "Escape did not end the game on the title"
e2e_check "the game quit from the title ends with 0" [ "$GAME_EXIT" = 0 ]
e2e_check "a run without a game adds no recording" [ "$(kept)" = "$recording" ]

e2e_summary
