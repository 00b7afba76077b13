#!/usr/bin/env bash
# A replay dropped onto the real window while the title shows: a short game
# is recorded with real key presses, the game is started again as a player
# starts it, and the file dragged onto its window by the X desktops' drag
# protocol plays (the game moves on screen, not the title) and then gives
# the title back. A dropped file that is no replay is named on standard
# error with its line, and the title stays. A replay dropped once Space has
# begun the briefing leaves the game the player started alone.
#
#   bash tests/e2e/drop_replay.sh path/to/kordavan path/to/kordavan-e2e-xdnd-drop
set -euo pipefail
source "$(dirname "$0")/lib.bash"
source "$(dirname "$0")/scenarios.bash"
[ $# -eq 2 ] && [ -x "$1" ] && [ -x "$2" ] || {
    echo "usage: $0 path/to/kordavan path/to/kordavan-e2e-xdnd-drop" >&2
    exit 2
}
kordavan="$(realpath "$1")"
# The title picture the game was built with, to compare the title with.
E2E_TITLE_BMP="$(dirname "$kordavan")/assets/151.bmp"
dropper="$(realpath "$2")"

e2e_begin drop_replay 150
e2e_xvfb 640x480
E2E_EOL=$'\n'
export HOME="$E2E_TMP/home"
mkdir -p "$HOME"

# ---------------------------------------------------------------- record
replay="$E2E_TMP/short flight.replay"
e2e_start_game "$kordavan" --record "$replay"
sleep 1
e2e_shot title
e2e_hold space 0.25
e2e_wait_game_recorded "$replay" || e2e_die "no game began within 30 s of Space"
e2e_hold Left 1.2
e2e_hold Up 0.4
e2e_hold Escape 0.2
e2e_wait_exit 10 || e2e_die "Escape did not end the recorded game"
grep -q '^end quit ' "$replay" || e2e_die "no quit game recorded: $(head -c 300 "$replay")"
steps="$(($(wc -l <"$replay") - 3))"
e2e_log "recorded $steps steps"

# drop PATH: drags the file onto the game's window; true once taken.
drop() {
    e2e_focus
    "$dropper" "$GAME_WID" "$1" 2>"$E2E_TMP/drop.stderr" || {
        e2e_log "the drag: $(cat "$E2E_TMP/drop.stderr")"
        return 1
    }
}

# ---------------------------------------------------------------- a replay, then not a replay
e2e_start_game "$kordavan"
sleep 1
scenario_dropped_replay drop "$replay" "$steps"
scenario_dropped_text drop

# The title still hears the player after both.
e2e_hold Escape 0.2
e2e_check_ends 10 "Escape on the title"
e2e_show_stderr

# ---------------------------------------------------------------- during the briefing
# Space has begun the briefing: the game the player started goes first (a
# watched replay is never recorded, so the recording tells which ran).
started="$E2E_TMP/started.replay"
e2e_start_game "$kordavan" --record "$started"
sleep 1
e2e_hold space 0.25
sleep 2
e2e_check "the window takes a replay dropped during the briefing" drop "$replay"
e2e_check "the game the player started begins, not the replay" e2e_wait_game_recorded "$started"
e2e_hold Escape 0.2
e2e_wait_exit 10 || e2e_fail "Escape did not end the started game"
e2e_summary
