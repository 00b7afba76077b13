#!/usr/bin/env bash
# The two ways of showing frames, OpenGL's renderer and the bare framebuffer
# (KORDAVAN_RENDERER=accelerated and software), show the same title pixel for
# pixel wherever the picture grows by a whole number: a window at the game's
# own size and at twice it, full screen letterboxed on a 5:4 screen, and
# --integer-scale on a screen the picture fills 2.5 times. Where the picture
# is smoothed (full screen on 16:9) both show it in place between black bars,
# nearly alike. Left to itself under Xvfb, where OpenGL is the processor's
# software rasteriser, the game takes the framebuffer. Only the scrolling
# credits panel is left out of the comparison: it moves between two shots.
#
#   bash tests/e2e/render_paths.sh path/to/kordavan
set -euo pipefail
source "$(dirname "$0")/lib.bash"
[ $# -eq 1 ] && [ -x "$1" ] || { echo "usage: $0 path/to/kordavan" >&2; exit 2; }
kordavan="$(realpath "$1")"

e2e_begin render_paths 240

# The credits panel, with a margin for smoothing, in picture coordinates.
credits=(314 144 614 291)

# Threads of Mesa's software rasteriser in the game.
rasteriser_threads() {
    cat /proc/"$GAME_PID"/task/*/comm 2>/dev/null | grep -c '^llvmpipe' || true
}

# show PATH NAME ARGS...: the title through PATH ("" leaves the choice to the
# game), shot as NAME.rgb of the game's window; SHOT_SIZE is its size.
show() {
    local path="$1" name="$2"
    shift 2
    if [ -n "$path" ]; then
        E2E_WRAPPER=(env KORDAVAN_RENDERER="$path")
    else
        E2E_WRAPPER=(env -u KORDAVAN_RENDERER)
    fi
    e2e_start_game "$kordavan" "$@"
    sleep 1.5
    e2e_game_alive || e2e_die "the game ended by itself ($name)"
    SHOT_SIZE="$(e2e_window_size)"
    timeout 20 import -window "$GAME_WID" -depth 8 "rgb:$E2E_TMP/$name.rgb"
    THREADS="$(rasteriser_threads)"
    e2e_hold Escape 0.2
    e2e_wait_exit 5 || e2e_fail "the game still runs 5 s after Escape ($name)"
}

# compare LABEL EXPECTED_SIZE CHECK ARGS...: both paths, then CHECK on the two shots.
compare() {
    local label="$1" expected="$2" check="$3"
    shift 3
    show accelerated "$label-gl" "$@"
    local gl_size="$SHOT_SIZE"
    e2e_check "$label: OpenGL's rasteriser draws when accelerated is asked for ($THREADS threads)" \
        [ "$THREADS" -gt 0 ]
    show software "$label-fb" "$@"
    e2e_check "$label: no rasteriser thread on the framebuffer" [ "$THREADS" -eq 0 ]
    e2e_check "$label: both windows are $expected ($gl_size, $SHOT_SIZE)" \
        [ "$gl_size $SHOT_SIZE" = "$expected $expected" ]
    local w="${expected%x*}" h="${expected#*x}"
    e2e_check "$label: the framebuffer's bars are black" \
        python3 "$E2E_DIR/image.py" black "$w" "$h" "$E2E_TMP/$label-fb.rgb" 0.999
    e2e_check "$label: the framebuffer shows the title" \
        python3 "$E2E_DIR/image.py" varied "$w" "$h" "$E2E_TMP/$label-fb.rgb" 0 0 640 480 64
    if [ "$check" = same ]; then
        e2e_check "$label: both paths show the same pixels" \
            python3 "$E2E_DIR/image.py" same "$w" "$h" "$E2E_TMP/$label-gl.rgb" \
            "$E2E_TMP/$label-fb.rgb" "${credits[@]}"
    else
        e2e_check "$label: both paths show nearly the same smoothed picture" \
            python3 "$E2E_DIR/image.py" alike "$w" "$h" "$E2E_TMP/$label-gl.rgb" \
            "$E2E_TMP/$label-fb.rgb" 2 "${credits[@]}"
    fi
}

restart_xvfb() {
    if [ -n "$XVFB_PID" ]; then
        kill -TERM "$XVFB_PID" 2>/dev/null || true
        wait "$XVFB_PID" 2>/dev/null || true
    fi
    e2e_xvfb "$1"
}

restart_xvfb 1280x1024
compare window-1x 640x480 same --window --scale 1
compare window-2x 1280x960 same --window --scale 2
compare fullscreen-5to4 1280x1024 same --fullscreen

show "" auto --fullscreen
e2e_check "left to itself under Xvfb the game keeps no rasteriser thread" [ "$THREADS" -eq 0 ]
e2e_check "left to itself it shows what the framebuffer shows" \
    python3 "$E2E_DIR/image.py" same 1280 1024 "$E2E_TMP/auto.rgb" \
    "$E2E_TMP/fullscreen-5to4-fb.rgb" "${credits[@]}"

restart_xvfb 1600x1200
E2E_INTEGER_SCALE=1 compare integer-scale 1600x1200 same --fullscreen --integer-scale

restart_xvfb 1600x900
compare fullscreen-16to9 1600x900 alike --fullscreen
e2e_summary
