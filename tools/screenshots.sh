#!/usr/bin/env bash
# Makes the README's pictures of the game, docs/*.png, from the game itself:
# kordavan-trace plays the real game headless from fixed key scripts and
# writes the chosen frame, and optipng makes a small PNG of it. The same game
# gives the same files byte for byte, so ./test can tell when the pictures no
# longer show the game as it is.
#
#   tools/screenshots.sh [TRACE [FOLDER]]   write the pictures into FOLDER
#   tools/screenshots.sh --check [TRACE]    compare them with those in docs/
#
# TRACE defaults to build/tools/trace/kordavan-trace, FOLDER to docs/. Needs
# optipng (Debian package optipng).
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"

check=0
if [ "${1:-}" = --check ]; then
    check=1
    shift
fi
trace="${1:-$here/build/tools/trace/kordavan-trace}"
folder="${2:-$here/docs}"
[ -x "$trace" ] || { echo "screenshots: no kordavan-trace at $trace; build it first" >&2; exit 2; }
command -v optipng >/dev/null || { echo "screenshots: optipng is missing (apt-get install optipng)" >&2; exit 2; }

work="$(mktemp -d "${TMPDIR:-/tmp}/kordavan-screenshots.XXXXXX")"
trap 'rm -rf "$work"' EXIT
if [ "$check" = 1 ]; then
    out="$work/made"
else
    out="$folder"
fi
mkdir -p "$out"

# keys COUNT [KEY...]: COUNT lines of the key script, each holding those keys.
keys() {
    local count="$1"
    shift
    local line="$*"
    for _ in $(seq "$count"); do printf '%s\n' "$line"; done
}

# picture NAME FRAME [TRACE OPTIONS...] < keys: runs the game and makes
# NAME.png of its frame FRAME, the only one written (a game step, or a pass of
# the title with --from-title).
picture() {
    local name="$1" frame="$2"
    shift 2
    local frames="$work/$name"
    mkdir -p "$frames"
    if ! "$trace" "$@" --frames "$frames" --frames-from "$frame" >/dev/null; then
        echo "screenshots: kordavan-trace failed for $name" >&2
        exit 1
    fi
    local made=("$frames"/*.bmp)
    if [ "${#made[@]}" -ne 1 ] || [ ! -f "${made[0]}" ]; then
        echo "screenshots: $name: expected one frame, kordavan-trace wrote ${#made[@]}" >&2
        exit 1
    fi
    rm -f "$out/$name.png"
    optipng -quiet -o2 -strip all -out "$out/$name.png" "${made[0]}"
}

# The title with the first lines of the credits whole in their panel.
keys 30 | picture title 30 --from-title

# The second mission, heading out low over the water: the launcher has just
# fired, one orb rising beside the helicopter and one above it, the submarine
# has surfaced with its rocket, and the first man rescued shows in the HUD.
{ keys 14 LEFT UP && keys 174 LEFT; } |
    picture flight 188 --set level=1 --set rescuedCount=1 --steps 188

# The same flight on to the far end, L held from the launcher on: the
# helicopter lands by itself and the man walks up to its door.
{ keys 14 LEFT UP && keys 140 LEFT && keys 699 L; } |
    picture landing 853 --set level=1 --set rescuedCount=1 --steps 853

# The seventh man is home: the helicopter climbs away, and the won picture,
# opened from its middle in 107 passes, waits for Return.
{ keys 140 && keys 1 RETURN; } |
    picture won 10 --set level=7 --set heliY=20 --set rescuedCount=7

if [ "$check" = 0 ]; then
    ls -l "$out"/{title,flight,landing,won}.png
    exit 0
fi
status=0
for name in title flight landing won; do
    if ! cmp -s "$out/$name.png" "$folder/$name.png"; then
        echo "screenshots: docs/$name.png is not what the game shows now;" \
            "run tools/screenshots.sh and commit docs/" >&2
        status=1
    fi
done
[ "$status" = 0 ] && echo "screenshots: docs/ shows the game as it is"
exit "$status"
