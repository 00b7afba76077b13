#!/usr/bin/env bash
# The Windows back end's real window under Wine on a private X server: mouse
# presses reach the game as places on the 640 x 480 picture, full screen with
# bars beside it and with whole-multiple enlargement, and presses on the bars
# reach nobody; files dropped onto the window reach it as their paths in
# UTF-8, spaces and non-ASCII letters included, whether a program posts
# WM_DROPFILES or an X desktop drags them over by its drag protocol (which
# Wine turns into WM_DROPFILES).
#
#   bash tests/windows/pointer_under_wine.sh BUILD-DIR kordavan-e2e-pointer.exe kordavan-post-drop.exe
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/../e2e/lib.bash"
source "$here/wine_lib.bash"
source "$here/../e2e/pointer.bash"
[ $# -eq 3 ] || { echo "usage: $0 BUILD-DIR kordavan-e2e-pointer.exe kordavan-post-drop.exe" >&2; exit 2; }
build="$(cd "$1" && pwd)"
pointer="$(realpath "$2")"
poster="$(realpath "$3")"
# Wine reads and writes paths in the locale's code page: UTF-8 here.
export LC_ALL=C.UTF-8

e2e_begin windows_pointer 240
wine_prefix "$build" || e2e_die "no Wine prefix"
e2e_xvfb 1024x600

dropper="$(wine_x_dropper)" || e2e_log "no X drag source could be built here; the drag is left out"

# Full screen on 1024 x 600: the picture 800 x 600 from x 112.
pointer_start
pointer_clicks "0 0;639 479;320 240;1 1" 112,0 911,599 512,300 113,1
pointer_clicks "" 111,300 912,300 0,0 1023,599
pointer_stop

# Whole multiples only: the picture at its own size, at (192, 60).
pointer_start --sharp
pointer_clicks "0 0;639 479;100 50" 192,60 831,539 292,110
pointer_clicks "" 191,300 500,59 500,540 832,300
pointer_stop

# ---------------------------------------------------------------- dropped files

pointer_drop_files
plain_dos="$(winepath -w "$DROP_PLAIN" 2>/dev/null)"
odd_dos="$(winepath -w "$DROP_ODD" 2>/dev/null)"
expected="$plain_dos;$odd_dos"
pointer_start --window 1
pointer_check_drop "a posted WM_DROPFILES" "$expected" \
    wine "$poster" "Kordavan pointer test" "$plain_dos" "$odd_dos"
if [ -n "$dropper" ]; then
    pointer_check_drop "a drag from the X desktop, as Windows paths" "$expected" \
        "$dropper" "$GAME_WID" "$DROP_PLAIN" "$DROP_ODD"
fi
pointer_stop
e2e_summary
