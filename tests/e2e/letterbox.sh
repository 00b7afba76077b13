#!/usr/bin/env bash
# On screens that are not 640 x 480 the window still covers the whole screen
# and the picture keeps its 4:3 shape, centred, with black bars on the
# remaining sides: above and below on a 5:4 screen, left and right on a wide
# one.
#
#   bash tests/e2e/letterbox.sh path/to/kordavan
set -euo pipefail
source "$(dirname "$0")/lib.bash"
[ $# -eq 1 ] && [ -x "$1" ] || { echo "usage: $0 path/to/kordavan" >&2; exit 2; }
kordavan="$(realpath "$1")"

e2e_begin letterbox 80

for size in 1280x1024 1600x900; do
    e2e_xvfb "$size"
    e2e_start_game "$kordavan"
    sleep 1.5
    e2e_game_alive || e2e_die "the game ended by itself on a $size screen"
    e2e_check "the window covers the $size screen (it is $(e2e_window_size))" \
        [ "$(e2e_window_size)" = "$size" ]
    e2e_shot "shot-$size"
    e2e_check "the bars beside the 4:3 picture are black on $size" \
        e2e_image black "$E2E_TMP/shot-$size.rgb" 0.999
    e2e_check "the title fills the 4:3 picture area on $size" \
        e2e_image picture "$E2E_TMP/shot-$size.rgb" 0.6
    e2e_check "the credits window lands where the scaled picture puts it on $size" \
        e2e_image varied "$E2E_TMP/shot-$size.rgb" 320 150 608 285 4
    e2e_focus
    timeout 5 xdotool keydown Escape
    if e2e_wait_exit 3; then
        e2e_check "Escape ends the program with exit code 0 on $size" [ "$GAME_EXIT" = 0 ]
    else
        e2e_fail "the game still runs 3 s after Escape on $size"
    fi
    timeout 5 xdotool keyup Escape || true
    kill -TERM "$XVFB_PID" 2>/dev/null || true
    wait "$XVFB_PID" 2>/dev/null || true
done
e2e_summary
