#!/usr/bin/env bash
# Replays, remapped keys and screenshots in the real window: a game played
# with held keys (A flies left, as the settings file maps it) is recorded,
# kordavan-trace replays the file headless and finds the game's end as the
# window saw it, F12 leaves a 640x480 PNG in the pictures folder, and the
# window plays the replay back and returns to the title; and a replayed end
# picture held for weeks by its file still hears the player's Escape.
#
#   bash tests/e2e/replay.sh path/to/kordavan path/to/kordavan-trace path/to/kordavan-e2e-ending
set -euo pipefail
source "$(dirname "$0")/lib.bash"
[ $# -eq 3 ] && [ -x "$1" ] && [ -x "$2" ] && [ -x "$3" ] || {
    echo "usage: $0 path/to/kordavan path/to/kordavan-trace path/to/kordavan-e2e-ending" >&2
    exit 2
}
kordavan="$(realpath "$1")"
trace="$(realpath "$2")"
ending="$(realpath "$3")"

e2e_begin replay 150
e2e_xvfb 640x480
export HOME="$E2E_TMP/home"
mkdir -p "$HOME" "$E2E_TMP/config/kordavan"
printf '# mine\nkey-left = A, Left\nkey-jump = J\n' >"$E2E_TMP/config/kordavan/kordavan.conf"

# ---------------------------------------------------------------- record
e2e_start_game "$kordavan" --record "$E2E_TMP/run.replay"
sleep 1
e2e_shot title
e2e_hold space 0.25
recorded=yes
e2e_wait_game_recorded "$E2E_TMP/run.replay" || recorded=no
e2e_game_alive || e2e_die "the game ended by itself"
[ "$recorded" = yes ] || e2e_die "no game began within 30 s of Space"
e2e_hold a 1.5
e2e_hold Up 0.4
e2e_hold F12 0.2
e2e_hold Right 0.6
e2e_hold l 0.3
e2e_hold Escape 0.2
e2e_wait_exit 10 || e2e_die "Escape did not end the game"
e2e_check "the recording game ends with 0" [ "$GAME_EXIT" = 0 ]
e2e_check "the unknown control in the settings is named with its file and line" \
    grep -q "kordavan.conf:3: no control called \"jump\"" "$E2E_TMP/game.stderr"

replay="$E2E_TMP/run.replay"
e2e_check "the replay names its format first" [ "$(head -n 1 "$replay")" = "kordavan-replay 1" ]
e2e_check "A, mapped to left, is recorded as LEFT" \
    [ "$(grep -c '^LEFT$' "$replay")" -ge 30 ]
e2e_check "the game ends with Escape and its digest" \
    bash -c "tail -n 2 '$replay' | head -n 1 | grep -q ESCAPE && tail -n 1 '$replay' | grep -q '^end quit steps='"

# ---------------------------------------------------------------- check
if "$trace" --replay "$replay" >"$E2E_TMP/replay.trace" 2>"$E2E_TMP/replay.errors"; then
    e2e_pass "kordavan-trace replays the window's game to the same end"
else
    e2e_fail "kordavan-trace finds the replay went otherwise: $(cat "$E2E_TMP/replay.errors")"
fi
steps="$(grep -c '' "$E2E_TMP/replay.trace" || true)"
e2e_check "the headless replay has a line for every recorded step" \
    [ "$steps" -eq "$(($(wc -l <"$replay") - 3))" ]

# ---------------------------------------------------------------- screenshot
shots=("$HOME"/Pictures/Kordavan/*.png)
e2e_check "F12 saved one picture in ~/Pictures/Kordavan" [ ${#shots[@]} -eq 1 ] && [ -f "${shots[0]}" ]
e2e_check "the picture is a 640x480 PNG" \
    [ "$(identify -format '%m %w %h' "${shots[0]}" 2>/dev/null)" = "PNG 640 480" ]
e2e_check "nothing half-written is left beside it" \
    [ "$(find "$HOME/Pictures/Kordavan" -name '.*' -type f | wc -l)" -eq 0 ]

# ---------------------------------------------------------------- play back
e2e_start_game "$kordavan" --replay "$replay"
sleep 1.5
e2e_shot playing
e2e_check "the replay shows the game, not the title" \
    e2e_image changed "$E2E_TMP/title.rgb" "$E2E_TMP/playing.rgb" 0 0 310 480 0.05
# The recording's own Escape does not quit: back to the title afterwards.
sleep $((steps / 60 + 2))
e2e_check "the window outlives the recorded Escape" e2e_game_alive
e2e_shot after
e2e_check_not "after the replay the title is back" \
    e2e_image changed "$E2E_TMP/title.rgb" "$E2E_TMP/after.rgb" 0 0 310 480 0.01
e2e_hold Escape 0.2
e2e_wait_exit 10 || e2e_die "Escape did not end the game after the replay"
e2e_check "the game ends with 0 after the replay" [ "$GAME_EXIT" = 0 ]

# ---------------------------------------------------------------- a picture held for ever
# A won game recorded from its last step, its picture held for weeks in the
# file: the player's Escape still ends the replay, and the game with it.
e2e_start_game "$ending" won --record "$E2E_TMP/won.replay"
sleep 1.5
e2e_hold Return 0.2
sleep 1
e2e_hold Escape 0.2
e2e_wait_exit 10 || e2e_die "the recorded won game did not end"
grep -q '^end won ' "$E2E_TMP/won.replay" || e2e_die "no won game recorded: $(cat "$E2E_TMP/won.replay")"
# Nearly a day of passes, the most a replay may hold: only Escape ends it soon.
sed -i '/^end won /s/ passes=[0-9]*/ passes=5000000/' "$E2E_TMP/won.replay"
e2e_start_game "$kordavan" --replay "$E2E_TMP/won.replay"
sleep 2
e2e_check "the replayed won picture stays" e2e_game_alive
e2e_hold Escape 0.2
if e2e_wait_exit 10; then
    e2e_pass "Escape ends a replay on its end picture"
    e2e_check "the game ends with 0 after Escape on the replayed picture" [ "$GAME_EXIT" = 0 ]
else
    e2e_fail "Escape on a replayed end picture was not heard"
fi
e2e_summary
