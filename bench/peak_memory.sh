#!/usr/bin/env bash
# The peak resident memory of the real game over a short session on a private
# X server: the title, Space, the loading sequence, ten seconds of play with
# Left held for a while, then Escape. Prints "peak_rss_kib N": the game's own
# high-water mark (VmHWM), read just before Escape; the child that asks
# OpenGL for its renderer's name at start-up is its own process and gone.
#
#   bash bench/peak_memory.sh path/to/kordavan
set -euo pipefail
source "$(dirname "$0")/../tests/e2e/lib.bash"
[ $# -eq 1 ] && [ -x "$1" ] || { echo "usage: $0 path/to/kordavan" >&2; exit 2; }
kordavan="$(realpath "$1")"

e2e_begin peak_memory 90
e2e_xvfb 640x480
e2e_start_game "$kordavan"

sleep 2
e2e_hold space 0.25
sleep 14
e2e_hold Left 3
sleep 7
e2e_game_alive || e2e_die "the game ended by itself"
peak="$(awk '/^VmHWM:/ {print $2}' "/proc/$GAME_PID/status")"
e2e_focus
timeout 5 xdotool keydown Escape
e2e_wait_exit 5 || e2e_die "the game still runs 5 s after Escape"
timeout 5 xdotool keyup Escape || true
[ "$GAME_EXIT" = 0 ] || e2e_die "the game ended with exit code $GAME_EXIT"
echo "peak_rss_kib $peak"
