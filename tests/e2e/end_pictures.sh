#!/usr/bin/env bash
# On the won and lost pictures the window can be closed: the close button,
# SIGTERM (as at logout) and SIGINT end the program at once with exit code 0,
# though Escape and every key but Return do nothing there. And a gamepad,
# plugged in as a virtual one, brings the title back with Start and quits
# with Back. The game starts at the very end of a game (kordavan-e2e-ending),
# so each picture shows within a second.
#
#   bash tests/e2e/end_pictures.sh path/to/kordavan path/to/kordavan-e2e-ending
set -euo pipefail
source "$(dirname "$0")/lib.bash"
[ $# -eq 2 ] && [ -x "$2" ] || { echo "usage: $0 path/to/kordavan path/to/kordavan-e2e-ending" >&2; exit 2; }
ending="$(realpath "$2")"

e2e_begin end_pictures 150
e2e_xvfb 640x480

# ends_at_once HOW: the game must be gone within a second, with exit code 0.
ends_at_once() {
    if e2e_wait_exit 1; then
        e2e_check "$1 ends the program with exit code 0 (got $GAME_EXIT)" [ "$GAME_EXIT" = 0 ]
    else
        e2e_fail "the game still runs a second after $1"
        kill -KILL "$GAME_PID" 2>/dev/null || true
    fi
}

# A program started in the background by a script has SIGINT ignored, as a
# shell does for its background jobs; a player's terminal sends it as usual.
# The wrapper gives the game the usual SIGINT back before it starts.
default_sigint=(python3 -c 'import os, signal, sys
signal.signal(signal.SIGINT, signal.SIG_DFL)
os.execvp(sys.argv[1], sys.argv[1:])')

for ending_kind in won lost; do
    for request in close SIGTERM SIGINT; do
        E2E_WRAPPER=("${default_sigint[@]}")
        e2e_start_game "$ending" "$ending_kind"
        E2E_WRAPPER=()
        sleep 1.5
        e2e_game_alive || e2e_die "the game ended by itself on the $ending_kind picture"
        e2e_hold Escape 0.2
        sleep 0.3
        e2e_check "Escape does nothing on the $ending_kind picture" e2e_game_alive
        case "$request" in
        close) timeout 10 python3 "$E2E_DIR/close_window.py" "$(e2e_find_window)" ;;
        *) kill "-$request" "$GAME_PID" ;;
        esac
        ends_at_once "$request on the $ending_kind picture"
    done
done

# The virtual pad presses Start 90 passes into the picture, holds it for 30
# title passes, and presses Back 90 title passes later; the title must still
# be waiting for Space then (else exit code 3).
e2e_start_game "$ending" lost --pad
sleep 0.8
e2e_shot picture
e2e_check "the lost picture shows" e2e_image varied "$E2E_TMP/picture.rgb" 0 0 640 480 16
if e2e_wait_exit 8; then
    e2e_check "Start, held, then Back on the pad go back to the title, which waits, and quit (exit $GAME_EXIT)" \
        [ "$GAME_EXIT" = 0 ]
else
    e2e_fail "the pad's Start and Back did not end the game"
fi
e2e_show_stderr
e2e_summary
