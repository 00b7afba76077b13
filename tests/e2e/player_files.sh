#!/usr/bin/env bash
# The player's files and terminal never hurt the game, nor the game them:
# help and version that cannot be written end with 1; a closed standard
# error or one nobody reads any more costs only the message, never a hang
# or SIGPIPE; a settings file that is a pipe neither stops start-up nor is
# replaced; F11 changes only the display line of the file as it is at that
# moment and leaves a read-only file alone; --scale larger than the desktop
# is cut down to what fits, with a warning.
#
#   bash tests/e2e/player_files.sh path/to/kordavan
set -euo pipefail
source "$(dirname "$0")/lib.bash"
[ $# -eq 1 ] && [ -x "$1" ] || { echo "usage: $0 path/to/kordavan" >&2; exit 2; }
kordavan="$(realpath "$1")"

e2e_begin player_files 120

for option in --help --version; do
    status=0
    "$kordavan" "$option" >/dev/full 2>"$E2E_TMP/full.stderr" || status=$?
    e2e_check "$option into a full disk ends with 1 (got $status)" [ "$status" = 1 ]
    e2e_check "$option into a full disk says so" grep -q 'write error' "$E2E_TMP/full.stderr"
    status=0
    "$kordavan" "$option" >&- 2>/dev/null || status=$?
    e2e_check "$option into a closed output ends with 1 (got $status)" [ "$status" = 1 ]
done

e2e_xvfb 1280x1024
conf="$E2E_TMP/config/kordavan/kordavan.conf"

# ends_on_term WHAT: SIGTERM ends the game at once with 0.
ends_on_term() {
    e2e_check "$1: the game still runs" e2e_game_alive
    kill -TERM "$GAME_PID" 2>/dev/null || true
    e2e_check_ends 5 "$1: SIGTERM"
}

# Standard error closed: the X connection must not take its number, or the
# message of a failed save (the settings file is a folder) goes into it.
mkdir -p "$conf"
E2E_WRAPPER=(bash -c 'exec "$@" 2>&-' closed-stderr)
e2e_start_game "$kordavan" --window
e2e_hold F11 0.2
sleep 0.5
e2e_hold F11 0.2
sleep 0.5
ends_on_term "standard error closed"

# Standard error a pipe whose reader has gone; the settings file a link to
# a named pipe, which would hold start-up for ever if it were opened.
rmdir "$conf"
mkfifo "$E2E_TMP/pipe"
ln -s "$E2E_TMP/pipe" "$conf"
E2E_WRAPPER=(bash -c 'exec 2> >(exec true); sleep 0.3; exec "$@"' unread-stderr)
e2e_start_game "$kordavan" --window
e2e_hold F11 0.2
sleep 0.5
e2e_check "the pipe is still a pipe behind its link" test -p "$E2E_TMP/pipe" -a -L "$conf"
ends_on_term "standard error nobody reads"

# A window far larger than the desktop; the file changed while the game runs.
rm "$conf"
printf '# mine\r\ndisplay = window\r\nvolume = 30\r\n' >"$conf"
E2E_WRAPPER=()
e2e_start_game "$kordavan" --scale 16
e2e_settles_at 1280x960 "--scale 16 on a 1280x1024 desktop"
e2e_check "the player is told the window is made smaller" \
    grep -q 'does not fit the desktop (1280x[0-9]*); using scale 2' "$E2E_TMP/game.stderr"
printf '# mine\r\ndisplay = window\r\nvolume = 20\r\nvolume = 2O\n' >"$conf"
e2e_hold F11 0.2
e2e_settles_at 1280x1024 "F11"
printf '# mine\r\ndisplay = fullscreen\r\nvolume = 20\r\nvolume = 2O\n' >"$E2E_TMP/expected"
e2e_check "F11 changed the display line and nothing else" cmp "$conf" "$E2E_TMP/expected"

chmod 0444 "$conf"
e2e_hold F11 0.2
e2e_settles_at 1280x960 "F11 again"
e2e_check "a read-only settings file is left alone" cmp "$conf" "$E2E_TMP/expected"
e2e_check "and the player is told why the choice is not saved" \
    grep -q 'not saved in .*: it is read-only$' "$E2E_TMP/game.stderr"
e2e_hold Escape 0.2
e2e_check_ends 5 "Escape"
e2e_summary
