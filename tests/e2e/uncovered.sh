#!/usr/bin/env bash
# A full-screen game shows its picture whole again after another window
# covered it: on an X server without backing store a covered window loses
# what it showed, and the framebuffer path, which otherwise sends only the
# rows that changed and draws the bars once, draws all of it again when the
# window is exposed. On a 16:9 screen (bars left and right) the title before
# and after the cover is the same but for the scrolling credits panel, and
# the bars are black.
#
#   bash tests/e2e/uncovered.sh path/to/kordavan
set -euo pipefail
source "$(dirname "$0")/lib.bash"
[ $# -eq 1 ] && [ -x "$1" ] || { echo "usage: $0 path/to/kordavan" >&2; exit 2; }
kordavan="$(realpath "$1")"

e2e_begin uncovered 120
# The credits panel, with a margin for smoothing, in picture coordinates.
credits=(314 144 614 291)

e2e_xvfb 1600x900
E2E_WRAPPER=(env KORDAVAN_RENDERER=software)
e2e_start_game "$kordavan" --fullscreen
sleep 1.5
e2e_shot before

# A plain window over the whole screen, then gone again.
xmessage -geometry 1600x900+0+0 -bg white -fg white "$(printf '%0500d' 0)" >/dev/null 2>&1 &
cover=$!
E2E_PIDS+=("$cover")
sleep 1.5
e2e_shot covered
kill -TERM "$cover"
wait "$cover" 2>/dev/null || true
sleep 1
e2e_shot after
e2e_game_alive || e2e_die "the game ended by itself"

e2e_check "the cover hid the game's picture" \
    e2e_image changed "$E2E_TMP/covered.rgb" "$E2E_TMP/before.rgb" 0 0 640 480 0.5
e2e_check "the bars are black again" e2e_image black "$E2E_TMP/after.rgb" 0.999
e2e_check "the picture is whole again" \
    e2e_image same "$E2E_TMP/before.rgb" "$E2E_TMP/after.rgb" "${credits[@]}"
e2e_hold Escape 0.2
e2e_wait_exit 5 || e2e_fail "the game still runs 5 s after Escape"
e2e_summary
