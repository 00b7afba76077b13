#!/usr/bin/env bash
# Standard error on a pipe nobody reads, flooded with warnings (a settings
# file of thousands of damaged lines): the game still opens its window,
# runs its frames and quits on Escape; once the pipe is read, what it could
# not take is counted there, after the lines it did take.
#
#   bash tests/e2e/stderr_flood.sh path/to/kordavan
set -euo pipefail
source "$(dirname "$0")/lib.bash"
[ $# -eq 1 ] && [ -x "$1" ] || { echo "usage: $0 path/to/kordavan" >&2; exit 2; }
kordavan="$(realpath "$1")"

e2e_begin stderr_flood 90
e2e_xvfb 640x480

# Each line a warning of a hundred bytes or so, three megabytes in all, in
# a file short enough to be read.
lines=30000
mkdir -p "$E2E_TMP/config/kordavan"
awk -v n="$lines" 'BEGIN { for (i = 0; i < n; i++) print "x" }' >"$E2E_TMP/config/kordavan/kordavan.conf"
# The script holds the pipe open, so that the game's end of it has a reader
# that never reads.
mkfifo "$E2E_TMP/errors"
exec 3<>"$E2E_TMP/errors"
e2e_launch_flooded() {
    env SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$E2E_TMP/audio.raw" \
        XDG_CONFIG_HOME="$E2E_TMP/config" "$@" >"$E2E_TMP/game.stdout" 2>"$E2E_TMP/errors" &
    GAME_PID=$!
    E2E_PIDS+=("$GAME_PID")
}
e2e_launch() { e2e_launch_flooded "$@"; }

e2e_start_game "$kordavan"
sleep 1
e2e_check "the game runs on a full standard error" e2e_game_alive
# The player's terminal catches up while the game runs.
timeout 3 cat <&3 >"$E2E_TMP/read" || true
e2e_tap Escape
e2e_check_ends 5 "Escape on the title"

read_lines=$(grep -c '^kordavan: .*kordavan\.conf:[0-9]*: not a setting' "$E2E_TMP/read" || true)
told="$(grep -o '^kordavan: [0-9]* messages could not be written to standard error$' "$E2E_TMP/read" || true)"
e2e_log "$read_lines warnings read; told: ${told:-nothing}"
e2e_check "some warnings were read" [ "$read_lines" -gt 0 ]
e2e_check "the lost ones are counted once, to the line" \
    [ "$told" = "kordavan: $((lines - read_lines)) messages could not be written to standard error" ]
e2e_summary
