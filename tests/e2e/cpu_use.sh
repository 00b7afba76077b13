#!/usr/bin/env bash
# A good citizen: while playing in a 640x480 window the game sleeps between
# steps instead of spinning. Over ten seconds of play the whole process
# (software rendering included) must stay below 25% of one core and its main
# thread below 10%.
#
#   bash tests/e2e/cpu_use.sh path/to/kordavan
set -euo pipefail
source "$(dirname "$0")/lib.bash"
[ $# -eq 1 ] && [ -x "$1" ] || { echo "usage: $0 path/to/kordavan" >&2; exit 2; }
kordavan="$(realpath "$1")"

e2e_begin cpu_use 90
e2e_xvfb 640x480
e2e_start_playing "$kordavan"

ticks="$(getconf CLK_TCK)"
# cpu FILE: user + system ticks of a /proc stat file.
cpu() { awk '{print $14 + $15}' "$1"; }
process_start="$(cpu "/proc/$GAME_PID/stat")"
main_start="$(cpu "/proc/$GAME_PID/task/$GAME_PID/stat")"
wall_start="$(date +%s%N)"
sleep 10
process_end="$(cpu "/proc/$GAME_PID/stat")"
main_end="$(cpu "/proc/$GAME_PID/task/$GAME_PID/stat")"
wall_end="$(date +%s%N)"
e2e_game_alive || e2e_die "the game ended during the measurement"

percent() {
    awk -v t="$1" -v hz="$ticks" -v ns="$((wall_end - wall_start))" \
        'BEGIN { printf "%.1f", 100 * t / hz / (ns / 1e9) }'
}
process="$(percent $((process_end - process_start)))"
main="$(percent $((main_end - main_start)))"
e2e_log "over 10 s of play: the process used ${process}% of a core, its main thread ${main}%"
e2e_check "the process stays below 25% of a core (${process}%)" \
    awk -v p="$process" 'BEGIN { exit !(p < 25) }'
e2e_check "the main thread stays below 10% of a core (${main}%)" \
    awk -v p="$main" 'BEGIN { exit !(p < 10) }'

e2e_hold Escape 0.2
e2e_wait_exit 5 || e2e_fail "the game did not end after Escape"
e2e_summary
