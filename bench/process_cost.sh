#!/usr/bin/env bash
# What the real game costs the machine, as a player's system monitor shows
# it: the processor time of the whole process (every thread, the window
# system's client side and any OpenGL rasteriser included) while it sits on
# the title, plays, or stays paused, and its peak resident memory. The game
# runs on a private 1280x1024 Xvfb in a window of SCALE times 640x480, its
# way of showing frames taken from KORDAVAN_RENDERER as a player would set
# it. Prints, per minute of the scene:
#   cpu_percent N        processor time as a share of one core
#   cpu_s_per_minute N   the same in seconds per minute
#   peak_rss_kib N       the most resident memory since start-up (VmHWM)
#
#   bash bench/process_cost.sh path/to/kordavan title|play|pause [SECONDS [SCALE]]
set -euo pipefail
source "$(dirname "$0")/../tests/e2e/lib.bash"
usage="usage: $0 path/to/kordavan title|play|pause [SECONDS [SCALE]]"
[ $# -ge 2 ] && [ -x "$1" ] || { echo "$usage" >&2; exit 2; }
kordavan="$(realpath "$1")"
scene="$2"
seconds="${3:-60}"
scale="${4:-1}"
case "$scene" in title | play | pause) ;; *) echo "$usage" >&2; exit 2 ;; esac

e2e_begin "process_cost-$scene" $((seconds + 90))
e2e_xvfb 1280x1024
if [ "$scene" = title ]; then
    e2e_start_game "$kordavan" --window --scale "$scale"
    sleep 2
else
    e2e_start_playing "$kordavan" --window --scale "$scale"
fi
if [ "$scene" = pause ]; then
    e2e_hold p 0.2
    sleep 2
fi

cpu() { awk '{print $14 + $15}' "/proc/$GAME_PID/stat"; }
start="$(cpu)"
wall_start="$(date +%s%N)"
if [ "$scene" = play ]; then
    # A player flies left and right now and then.
    end=$((SECONDS + seconds))
    while [ "$SECONDS" -lt "$end" ]; do
        e2e_hold Left 1
        sleep 2
        e2e_hold Right 1
        sleep 2
    done
else
    sleep "$seconds"
fi
stop="$(cpu)"
wall_stop="$(date +%s%N)"
e2e_game_alive || e2e_die "the game ended during the measurement"
peak="$(awk '/^VmHWM:/ {print $2}' "/proc/$GAME_PID/status")"
e2e_hold Escape 0.2
e2e_wait_exit 5 || true

awk -v t="$((stop - start))" -v hz="$(getconf CLK_TCK)" -v ns="$((wall_stop - wall_start))" \
    'BEGIN { share = (t / hz) / (ns / 1e9)
             printf "cpu_percent %.2f\ncpu_s_per_minute %.2f\n", 100 * share, 60 * share }'
echo "peak_rss_kib $peak"
