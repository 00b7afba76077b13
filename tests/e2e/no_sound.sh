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
for _ in $(seq 100); do
    [ -n "$(e2e_find_window)" ] && break
    e2e_game_alive || break
    sleep 0.1
done
sleep 1
e2e_check "with --no-sound the game runs" e2e_game_alive
e2e_shot title
e2e_check "the title shows" e2e_image varied "$E2E_TMP/title.rgb" 0 0 640 480 64
e2e_hold Escape 0.2
if e2e_wait_exit 5; then
    e2e_check "Escape ends the silent game with 0 (got $GAME_EXIT)" [ "$GAME_EXIT" = 0 ]
else
    e2e_fail "the game did not end after Escape"
fi

# Without --no-sound: the failure's message box, and the hint on standard error.
XDG_CONFIG_HOME="$E2E_TMP/config" SDL_AUDIODRIVER=no-such-driver \
    "$kordavan" >"$E2E_TMP/game.stdout" 2>"$E2E_TMP/game.stderr" &
GAME_PID=$!
E2E_PIDS+=("$GAME_PID")
box=""
for _ in $(seq 100); do
    box="$(timeout 5 xdotool search --onlyvisible --name '^Kordavan$' 2>/dev/null | tail -n 1 || true)"
    [ -n "$box" ] && break
    e2e_game_alive || break
    sleep 0.1
done
sleep 0.5
e2e_check "standard error tells about --no-sound" grep -q -- '--no-sound' "$E2E_TMP/game.stderr"
if [ -n "$box" ]; then
    # OK on the message box, as the player would.
    timeout 5 xdotool windowfocus --sync "$box" key --delay 150 Return >/dev/null 2>&1 || true
fi
if e2e_wait_exit 5; then
    e2e_check "the failed start ends with 1 (got $GAME_EXIT)" [ "$GAME_EXIT" = 1 ]
else
    e2e_fail "the game still runs after its message box"
fi
e2e_summary
