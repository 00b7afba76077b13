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
[ $# -eq 3 ] && [ -x "$2" ] && [ -x "$3" ] ||
    { echo "usage: $0 path/to/kordavan path/to/kordavan-e2e-pointer path/to/kordavan-e2e-xdnd-drop" >&2; exit 2; }
pointer="$(realpath "$2")"
dropper="$(realpath "$3")"

e2e_begin pointer_and_drops 200
e2e_xvfb 1920x1080

# start ARGUMENTS...: the window up and its first frame shown.
start() {
    e2e_start_game "$pointer" "$@"
    for _ in $(seq 50); do
        grep -q '^shown$' "$E2E_TMP/game.stdout" && break
        sleep 0.1
    done
    grep -q '^shown$' "$E2E_TMP/game.stdout" || e2e_die "no frame shown with $*"
    sleep 0.3
}

stop() {
    kill -TERM "$GAME_PID" 2>/dev/null || true
    e2e_wait_exit 5 || kill -KILL "$GAME_PID" 2>/dev/null || true
}

# mark: remembers how much the window has reported; reported KIND: the
# lines of that kind since, ';' between. (The file is not emptied: the
# program goes on writing where it was.)
mark() { SEEN="$(wc -l <"$E2E_TMP/game.stdout")"; }
reported() {
    tail -n +"$((SEEN + 1))" "$E2E_TMP/game.stdout" | sed -n "s/^$1 //p" | paste -sd ';'
}

# clicks EXPECTED X,Y...: clicks at each place in the window, then checks the
# presses reported, in order, against EXPECTED ("x y;x y;..." or empty).
clicks() {
    local expected="$1" place got
    shift
    mark
    for place in "$@"; do
        timeout 5 xdotool mousemove --window "$GAME_WID" --sync "${place%,*}" "${place#*,}"
        timeout 5 xdotool click 1
    done
    sleep 0.5
    got="$(reported press)"
    e2e_check "clicks at $* land on '$expected' (got '$got')" [ "$got" = "$expected" ]
}

window_size() {
    timeout 5 xwininfo -id "$GAME_WID" | awk '/Width:/ {w = $2} /Height:/ {h = $2} END {print w "x" h}'
}

# resize WIDTH HEIGHT: as the player drags the window's edge, waiting for
# the frame drawn at the new size.
resize() {
    timeout 5 xdotool windowsize --sync "$GAME_WID" "$1" "$2" || true
    sleep 0.5
    [ "$(window_size)" = "$1x$2" ] || e2e_die "the window did not take $1x$2 (it is $(window_size))"
}

# Both ways a frame reaches the window: OpenGL through SDL's renderer, and
# the window's own framebuffer.
for path in accelerated software; do
    export KORDAVAN_RENDERER="$path"
    e2e_log "frames by the $path path"
    # Full screen on 1920 x 1080: the picture 1440 x 1080 from x 240, bars left and right.
    start
    e2e_check "full screen covers the screen ($(window_size))" [ "$(window_size)" = 1920x1080 ]
    clicks "0 0;639 479;320 240;1 1" 240,0 1679,1079 960,540 242,2
    clicks "" 239,540 1680,540 0,0 1919,1079
    stop

    # A window at twice the picture's size, every picture pixel two by two.
    start --window 2
    e2e_check "the window is twice 640x480 ($(window_size))" [ "$(window_size)" = 1280x960 ]
    clicks "0 0;0 0;1 1;639 479;320 240" 0,0 1,1 2,3 1279,959 640,480
    # Stretched wider than 4:3: the picture 1280 x 960 from x 110, bars beside it.
    resize 1500 960
    clicks "0 0;639 479" 110,0 1389,959
    clicks "" 109,500 1390,10
    stop
done

# Whole multiples only, stretched to 1500 x 1040: twice the size at (110, 40).
start --window 2 --sharp
resize 1500 1040
clicks "0 0;639 479;1 1" 110,40 1389,999 112,42
clicks "" 109,500 500,39 500,1000 1390,500
stop

# ---------------------------------------------------------------- dropped files

start --window 1
mark
mkdir -p "$E2E_TMP/with space"
plain="$E2E_TMP/first.replay"
odd="$E2E_TMP/with space/Küstenflug ✈ 2.replay"
: >"$plain"
: >"$odd"
if "$dropper" "$GAME_WID" "$plain" "$odd" 2>"$E2E_TMP/drop.stderr"; then
    e2e_pass "the window takes the drop"
else
    e2e_fail "the window did not take the drop: $(cat "$E2E_TMP/drop.stderr")"
fi
sleep 0.5
got="$(reported drop)"
e2e_check "both dropped paths arrive whole, in order (got '$got')" [ "$got" = "$plain;$odd" ]
e2e_check "a drop is no press" [ -z "$(reported press)" ]
stop
e2e_summary
