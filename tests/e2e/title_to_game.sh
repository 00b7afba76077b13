#!/usr/bin/env bash
# The real game from its title to play and out again, on a private X server
# the size of its picture: the title with its scrolling credits and music,
# Space and the loading picture, the game with its helicopter, HUD and sound,
# the landscape moving under Left, and Escape ending the program with 0.
#
#   bash tests/e2e/title_to_game.sh path/to/kordavan
set -euo pipefail
source "$(dirname "$0")/lib.bash"
[ $# -eq 1 ] && [ -x "$1" ] || { echo "usage: $0 path/to/kordavan" >&2; exit 2; }
kordavan="$(realpath "$1")"

e2e_begin title_to_game 90
e2e_xvfb 640x480
e2e_start_game "$kordavan"

# ---------------------------------------------------------------- title
sleep 1.5
e2e_alive_or_die() { e2e_game_alive || e2e_die "the game ended by itself ($1)"; }
e2e_alive_or_die "on the title"
audio_mark="$(e2e_audio_bytes)"
e2e_shot title1
sleep 1.2
e2e_shot title2

e2e_check "the title picture fills the screen" e2e_image picture "$E2E_TMP/title1.rgb" 0.6
e2e_check "the title picture is a picture, not a flat colour" \
    e2e_image varied "$E2E_TMP/title1.rgb" 0 0 640 480 64
e2e_check "the credits window shows something" \
    e2e_image varied "$E2E_TMP/title2.rgb" 320 150 608 285 4
e2e_check "the credits scroll in their window" \
    e2e_image changed "$E2E_TMP/title1.rgb" "$E2E_TMP/title2.rgb" 320 150 608 285 0.02
# Outside the credits window the title stands still.
e2e_check_not "the title left of the credits stays put" \
    e2e_image changed "$E2E_TMP/title1.rgb" "$E2E_TMP/title2.rgb" 0 0 310 480 0.01
e2e_check "the title music plays" python3 "$E2E_DIR/audio.py" "$E2E_TMP/audio.raw" "$audio_mark"

# ---------------------------------------------------------------- loading
space_at=$SECONDS
e2e_hold space 0.25
sleep 1
e2e_alive_or_die "after Space"
e2e_shot loading
# About 75 passes after Space: the opening (3 pixels a side per pass, first
# seen in the 27th) covers the screen's middle left of where the credits were,
# but reaches the top left corner only after 97 passes.
e2e_check "Space opens the loading picture over the title" \
    e2e_image changed "$E2E_TMP/title2.rgb" "$E2E_TMP/loading.rgb" 220 230 300 280 0.3
e2e_check_not "the loading picture leaves the corners alone while it opens" \
    e2e_image changed "$E2E_TMP/title2.rgb" "$E2E_TMP/loading.rgb" 0 0 40 30 0.05

# ---------------------------------------------------------------- game
# The game begins 700 passes (about 11.7 s) after Space; give it some slack.
while [ $((SECONDS - space_at)) -lt 14 ]; do sleep 0.5; done
e2e_alive_or_die "while loading"
e2e_shot loaded
audio_mark="$(e2e_audio_bytes)"
sleep 1
e2e_shot game1
e2e_check "the game's picture differs from the loading picture" \
    e2e_image changed "$E2E_TMP/loading.rgb" "$E2E_TMP/game1.rgb" 0 0 640 480 0.3
e2e_check "the backdrop is drawn" e2e_image varied "$E2E_TMP/game1.rgb" 0 50 640 480 32
e2e_check "the helicopter is at (230, 370)" e2e_image varied "$E2E_TMP/game1.rgb" 230 370 470 434 8
e2e_check "the energy bar is drawn" e2e_image varied "$E2E_TMP/game1.rgb" 10 5 362 29 3
e2e_check "the figure icons are drawn" e2e_image varied "$E2E_TMP/game1.rgb" 380 1 622 49 3
e2e_check "the game's sound plays" python3 "$E2E_DIR/audio.py" "$E2E_TMP/audio.raw" "$audio_mark"

e2e_hold Left 1.5
sleep 0.3
e2e_shot game2
e2e_check "holding Left scrolls the landscape" \
    e2e_image changed "$E2E_TMP/game1.rgb" "$E2E_TMP/game2.rgb" 0 300 220 480 0.05

# ---------------------------------------------------------------- escape
e2e_alive_or_die "in the game"
e2e_focus
escape_at=$(date +%s%N)
timeout 5 xdotool keydown Escape
if e2e_wait_exit 3; then
    elapsed=$((($(date +%s%N) - escape_at) / 1000000))
    e2e_log "the game ended ${elapsed} ms after Escape went down"
    e2e_check "Escape ends the program with exit code 0 (got $GAME_EXIT)" [ "$GAME_EXIT" = 0 ]
else
    e2e_fail "the game still runs 3 s after Escape"
fi
timeout 5 xdotool keyup Escape || true
e2e_summary
