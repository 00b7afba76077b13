#!/usr/bin/env bash
# What showing the picture full screen costs the machine: the game plays with
# Left held on a private Xvfb of the given size (full screen is the game's
# default; extra arguments go to the game, e.g. --window --scale 1), sound to
# SDL's dummy driver, and the processor time of the game and of the X server
# that copies its frames is taken over SECONDS of play. Prints
#   game_percent N    the game's share of one core (every thread)
#   xserver_percent N the X server's share of one core
#   steps N           steps the game ran, from its --record (10 s: about 600)
#   game_percent_at_60_steps, xserver_percent_at_60_steps N: the same per
#                     step, times 60: what they come to at the full 60 a second
#
#   bash bench/fullscreen_cost.sh path/to/kordavan WIDTHxHEIGHT [SECONDS [GAME ARGS...]]
#   bash bench/fullscreen_cost.sh build-windows/kordavan.exe ...   # under Wine
set -euo pipefail
source "$(dirname "$0")/../tests/e2e/lib.bash"
usage="usage: $0 path/to/kordavan WIDTHxHEIGHT [SECONDS [GAME ARGS...]]"
[ $# -ge 2 ] && [ -x "$1" ] || { echo "$usage" >&2; exit 2; }
kordavan="$(realpath "$1")"
size="$2"
seconds="${3:-10}"
shift $(($# < 3 ? $# : 3))

e2e_begin "fullscreen_cost-$size" $((seconds + 150))
e2e_xvfb "$size"
if [[ "$kordavan" == *.exe ]]; then
    # The Windows build under Wine, in the prefix its build folder keeps;
    # its own sound device is Wine's, silenced.
    source "$(dirname "$0")/../tests/windows/wine_lib.bash"
    wine_prefix "$(dirname "$kordavan")" || e2e_die "no Wine prefix"
    rm -rf "$WINEPREFIX"/drive_c/users/*/AppData/Roaming/Kordavan
    wine "$kordavan" --no-sound --record "Z:$E2E_TMP/replay.txt" "$@" \
        >"$E2E_TMP/game.stdout" 2>"$E2E_TMP/game.stderr" &
else
    SDL_AUDIODRIVER=dummy XDG_CONFIG_HOME="$E2E_TMP/config" "$kordavan" \
        --record "$E2E_TMP/replay.txt" "$@" >"$E2E_TMP/game.stdout" 2>"$E2E_TMP/game.stderr" &
fi
GAME_PID=$!
E2E_PIDS+=("$GAME_PID")
for _ in 1 2 3; do
    e2e_wait_steady e2e_find_window && break
done
[ -n "$WINDOW" ] || e2e_die "no steady visible window of the game"
GAME_WID="$WINDOW"
e2e_focus
# Space until a game begins (a busy machine may miss a short press), then
# the loading sequence's 12 s.
for _ in $(seq 20); do
    sleep 1
    grep -q '^game' "$E2E_TMP/replay.txt" 2>/dev/null && break
    e2e_hold space 0.3
done
grep -q '^game' "$E2E_TMP/replay.txt" || e2e_die "no game began"
sleep 13
e2e_game_alive || e2e_die "the game ended by itself"

cpu() { awk '{print $14 + $15}' "/proc/$1/stat"; }
lines() { wc -l <"$E2E_TMP/replay.txt"; }
e2e_focus
timeout 5 xdotool keydown Left
game_start="$(cpu "$GAME_PID")"
x_start="$(cpu "$XVFB_PID")"
wall_start="$(date +%s%N)"
steps_start="$(lines)"
sleep "$seconds"
game_stop="$(cpu "$GAME_PID")"
x_stop="$(cpu "$XVFB_PID")"
wall_stop="$(date +%s%N)"
steps_stop="$(lines)"
timeout 5 xdotool keyup Left
e2e_game_alive || e2e_die "the game ended during the measurement"
e2e_hold Escape 0.2
e2e_wait_exit 5 || true

share() {
    awk -v t="$1" -v hz="$(getconf CLK_TCK)" -v ns="$((wall_stop - wall_start))" \
        'BEGIN { printf "%.1f", 100 * (t / hz) / (ns / 1e9) }'
}
# On a busy machine the game may run fewer than 60 steps a second; per step
# and scaled to 60 a second, the figures still compare.
per60() {
    awk -v t="$1" -v hz="$(getconf CLK_TCK)" -v n="$((steps_stop - steps_start))" \
        'BEGIN { if (n > 0) printf "%.1f", 100 * (t / hz) / n * 60; else print "nan" }'
}
echo "game_percent $(share $((game_stop - game_start)))"
echo "xserver_percent $(share $((x_stop - x_start)))"
echo "steps $((steps_stop - steps_start))"
echo "game_percent_at_60_steps $(per60 $((game_stop - game_start)))"
echo "xserver_percent_at_60_steps $(per60 $((x_stop - x_start)))"
