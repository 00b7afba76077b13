#!/usr/bin/env bash
# Full screen, the default, costs about what a window does: on a 1920x1080
# screen, where the picture is enlarged 2.25 times on the processor (Xvfb
# has no graphics chip), ten seconds of play with Left held cost the game
# under 15% of a core and the game and the X server together under 25%, per
# step at 60 steps a second. The smoothing stretch of the whole screen it
# replaced cost the game 20% to 40% on the same machine. The margins are wide:
# the figures are a coarse guard, bench/fullscreen_cost.sh measures them.
#
#   bash tests/e2e/fullscreen_cpu_use.sh path/to/kordavan
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/lib.bash"
[ $# -eq 1 ] && [ -x "$1" ] || { echo "usage: $0 path/to/kordavan" >&2; exit 2; }
kordavan="$(realpath "$1")"

e2e_begin fullscreen_cpu_use 200
figures="$(bash "$here/../../bench/fullscreen_cost.sh" "$kordavan" 1920x1080 10)" ||
    e2e_die "the measurement did not finish: $figures"
figure() { awk -v name="$1" '$1 == name {print $2}' <<<"$figures"; }
game="$(figure game_percent_at_60_steps)"
xserver="$(figure xserver_percent_at_60_steps)"
steps="$(figure steps)"
e2e_log "over 10 s of play full screen: $steps steps, the game ${game}% of a core and the X server ${xserver}% at 60 steps a second"
e2e_check "the game played ($steps steps)" [ "${steps:-0}" -gt 100 ]
e2e_check "the game stays below 15% of a core (${game}%)" \
    awk -v p="$game" 'BEGIN { exit !(p < 15) }'
e2e_check "the game and the X server stay below 25% of a core together (${game}% + ${xserver}%)" \
    awk -v p="$game" -v x="$xserver" 'BEGIN { exit !(p + x < 25) }'
e2e_summary
