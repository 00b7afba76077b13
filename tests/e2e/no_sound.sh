#!/usr/bin/env bash
# A machine without a usable sound device: the game refuses to start with its
# message and a hint on standard error, unless the player asks for
# --no-sound, which plays on a silent device.
#
#   bash tests/e2e/no_sound.sh path/to/kordavan
set -euo pipefail
source "$(dirname "$0")/lib.bash"
[ $# -eq 1 ] && [ -x "$1" ] || { echo "usage: $0 path/to/kordavan" >&2; exit 2; }
kordavan="$(realpath "$1")"

e2e_begin no_sound 60
e2e_xvfb 640x480

# No sound device: a driver name SDL does not have.
XDG_CONFIG_HOME="$E2E_TMP/config" SDL_AUDIODRIVER=no-such-driver \
    "$kordavan" --no-sound >"$E2E_TMP/game.stdout" 2>"$E2E_TMP/game.stderr" &
GAME_PID=$!
E2E_PIDS+=("$GAME_PID")
e2e_wait_steady e2e_find_window || true
sleep 1
e2e_check "with --no-sound the game runs" e2e_game_alive
e2e_shot title
e2e_check "the title shows" e2e_image varied "$E2E_TMP/title.rgb" 0 0 640 480 64
e2e_hold Escape 0.2
e2e_check_ends 5 "Escape in the silent game"

# Without --no-sound: the failure's message box, and the hint on standard
# error. SDL can show its box only where the X server has fonts; without them
# the message goes to standard error instead and the game ends at once.

# message_box: the new window that is not the game's own one.
message_box() {
    local found
    found="$(e2e_new_window)"
    if [ -n "$found" ] && [ "${found%% *}" != "$(e2e_find_window)" ]; then echo "$found"; fi
}

# fails_to_start HOW: starts the game without a sound device and dismisses its
# box by HOW (Return or a click on OK), as a player would.
fails_to_start() {
    e2e_mark_windows
    XDG_CONFIG_HOME="$E2E_TMP/config" SDL_AUDIODRIVER=no-such-driver \
        "$kordavan" >"$E2E_TMP/game.stdout" 2>"$E2E_TMP/game.stderr" &
    GAME_PID=$!
    E2E_PIDS+=("$GAME_PID")
    e2e_wait_steady message_box || true
    e2e_check "standard error tells about --no-sound" grep -q -- '--no-sound' "$E2E_TMP/game.stderr"
    if [ -n "$WINDOW" ]; then
        e2e_log "the message box is window $WINDOW"
        sleep 0.5
        e2e_press_ok "$1" "$WINDOW"
    fi
    if ! e2e_wait_exit 5; then
        e2e_fail "the game still runs after its message box and $1"
        return
    fi
    e2e_check "the failed start ends with 1 after $1 (got $GAME_EXIT)" [ "$GAME_EXIT" = 1 ]
    if [ -z "$WINDOW" ]; then
        e2e_log "no message box could show on this display"
        e2e_check "without a box the message is on standard error" \
            grep -q 'DirectSoundCreate FAILED' "$E2E_TMP/game.stderr"
    fi
}

fails_to_start Return
fails_to_start click
e2e_summary
