#!/usr/bin/env bash
# The processor time of a minute of play: the real game on a private 640x480
# X server, started with Space, then measured for SECONDS (default 60) while
# the helicopter flies about. Prints the processor seconds of the whole
# process (software rendering included) and of its main thread, per minute:
#   minute_process_s N
#   minute_main_thread_s N
#
#   bash bench/minute_of_play.sh path/to/kordavan [SECONDS]
set -euo pipefail
source "$(dirname "$0")/../tests/e2e/lib.bash"
[ $# -ge 1 ] && [ -x "$1" ] || { echo "usage: $0 path/to/kordavan [SECONDS]" >&2; exit 2; }
kordavan="$(realpath "$1")"
seconds="${2:-60}"

e2e_begin minute_of_play $((seconds + 60))
e2e_xvfb 640x480
e2e_start_playing "$kordavan"

cpu() { awk '{print $14 + $15}' "$1"; }
process_start="$(cpu "/proc/$GAME_PID/stat")"
main_start="$(cpu "/proc/$GAME_PID/task/$GAME_PID/stat")"
wall_start="$(date +%s%N)"
# A player flies left and right now and then.
end=$((SECONDS + seconds))
while [ "$SECONDS" -lt "$end" ]; do
    e2e_hold Left 1
    sleep 2
    e2e_hold Right 1
    sleep 2
done
process_end="$(cpu "/proc/$GAME_PID/stat")"
main_end="$(cpu "/proc/$GAME_PID/task/$GAME_PID/stat")"
wall_end="$(date +%s%N)"
e2e_game_alive || e2e_die "the game ended during the measurement"
e2e_hold Escape 0.2
e2e_wait_exit 5 || true

per_minute() {
    awk -v t="$1" -v hz="$(getconf CLK_TCK)" -v ns="$((wall_end - wall_start))" \
        'BEGIN { printf "%.2f", 60 * (t / hz) / (ns / 1e9) }'
}
echo "minute_process_s $(per_minute $((process_end - process_start)))"
echo "minute_main_thread_s $(per_minute $((main_end - main_start)))"
