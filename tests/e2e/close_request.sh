#!/usr/bin/env bash
# A close request from the window system (WM_DELETE_WINDOW, what a window
# manager sends for Alt+F4 or the close button) ends the game just as Escape
# does: promptly and with exit code 0. Tried on the title and in the game.
#
#   bash tests/e2e/close_request.sh path/to/kordavan
set -euo pipefail
source "$(dirname "$0")/lib.bash"
[ $# -eq 1 ] && [ -x "$1" ] || { echo "usage: $0 path/to/kordavan" >&2; exit 2; }
kordavan="$(realpath "$1")"

e2e_begin close_request 60
e2e_xvfb 640x480

# close_now WHERE: sends the request and waits for the program to end.
close_now() {
    e2e_game_alive || e2e_die "the game ended by itself ($1)"
    local sent_at
    GAME_WID="$(e2e_find_window)"
    if ! timeout 10 python3 "$E2E_DIR/close_window.py" "$GAME_WID"; then
        e2e_fail "cannot send WM_DELETE_WINDOW ($1)"
        return
    fi
    sent_at=$(date +%s%N)
    if e2e_wait_exit 3; then
        e2e_log "the game ended $((($(date +%s%N) - sent_at) / 1000000)) ms after the request"
        e2e_check "a close request $1 ends the program with exit code 0 (got $GAME_EXIT)" \
            [ "$GAME_EXIT" = 0 ]
    else
        e2e_fail "the game still runs 3 s after a close request $1"
    fi
}

e2e_start_game "$kordavan"
sleep 1
close_now "on the title"

e2e_start_game "$kordavan"
sleep 1
e2e_hold space 0.25
# The game begins about 11.7 s after Space.
sleep 13
close_now "in the game"
e2e_summary
