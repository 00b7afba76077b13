#!/usr/bin/env bash
# Presses of the mouse on the real window reach the game as places on the
# 640 x 480 picture, wherever and however large the window shows it: full
# screen with bars beside the picture, a window at twice the size, a window
# the player stretched, with and without whole-multiple enlargement; a
# press on the bars reaches nobody. Files dropped onto the window by the X
# desktops' drag protocol reach it as their paths, spaces and non-ASCII
# letters included.
#
#   bash tests/e2e/pointer_and_drops.sh path/to/kordavan path/to/kordavan-e2e-pointer \
#       path/to/kordavan-e2e-xdnd-drop
set -euo pipefail
source "$(dirname "$0")/lib.bash"
source "$(dirname "$0")/pointer.bash"
[ $# -eq 3 ] && [ -x "$2" ] && [ -x "$3" ] ||
    { echo "usage: $0 path/to/kordavan path/to/kordavan-e2e-pointer path/to/kordavan-e2e-xdnd-drop" >&2; exit 2; }
pointer="$(realpath "$2")"
dropper="$(realpath "$3")"

e2e_begin pointer_and_drops 200
e2e_xvfb 1920x1080

# resize WIDTH HEIGHT: as the player drags the window's edge, waiting for
# the frame drawn at the new size.
resize() {
    timeout 5 xdotool windowsize --sync "$GAME_WID" "$1" "$2" || true
    sleep 0.5
    [ "$(e2e_window_size)" = "$1x$2" ] || e2e_die "the window did not take $1x$2 (it is $(e2e_window_size))"
}

# Both ways a frame reaches the window: OpenGL through SDL's renderer, and
# the window's own framebuffer.
for path in accelerated software; do
    export KORDAVAN_RENDERER="$path"
    e2e_log "frames by the $path path"
    # Full screen on 1920 x 1080: the picture 1440 x 1080 from x 240, bars left and right.
    pointer_start
    e2e_check "full screen covers the screen ($(e2e_window_size))" [ "$(e2e_window_size)" = 1920x1080 ]
    pointer_clicks "0 0;639 479;320 240;1 1" 240,0 1679,1079 960,540 242,2
    pointer_clicks "" 239,540 1680,540 0,0 1919,1079
    pointer_stop

    # A window at twice the picture's size, every picture pixel two by two.
    pointer_start --window 2
    e2e_check "the window is twice 640x480 ($(e2e_window_size))" [ "$(e2e_window_size)" = 1280x960 ]
    pointer_clicks "0 0;0 0;1 1;639 479;320 240" 0,0 1,1 2,3 1279,959 640,480
    # Stretched wider than 4:3: the picture 1280 x 960 from x 110, bars beside it.
    resize 1500 960
    pointer_clicks "0 0;639 479" 110,0 1389,959
    pointer_clicks "" 109,500 1390,10
    pointer_stop
done

# Whole multiples only, stretched to 1500 x 1040: twice the size at (110, 40).
pointer_start --window 2 --sharp
resize 1500 1040
pointer_clicks "0 0;639 479;1 1" 110,40 1389,999 112,42
pointer_clicks "" 109,500 500,39 500,1000 1390,500
pointer_stop

# ---------------------------------------------------------------- dropped files

pointer_start --window 1
pointer_drop_files
pointer_check_drop "a drag from the X desktop" "$DROP_PLAIN;$DROP_ODD" "$dropper" "$GAME_WID" "$DROP_PLAIN" "$DROP_ODD"
pointer_stop
e2e_summary
