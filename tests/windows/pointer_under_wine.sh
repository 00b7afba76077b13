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
[ $# -eq 3 ] || { echo "usage: $0 BUILD-DIR kordavan-e2e-pointer.exe kordavan-post-drop.exe" >&2; exit 2; }
build="$(cd "$1" && pwd)"
pointer="$(realpath "$2")"
poster="$(realpath "$3")"
# Wine reads and writes paths in the locale's code page: UTF-8 here.
export LC_ALL=C.UTF-8

e2e_begin windows_pointer 240
wine_prefix "$build" || e2e_die "no Wine prefix"
e2e_xvfb 1024x600

# The drag source, built for this machine from its source beside the tests.
dropper=""
if command -v c++ >/dev/null 2>&1 &&
    c++ -std=c++20 -O1 -o "$E2E_TMP/xdnd-drop" "$here/../e2e/xdnd_drop.cpp" -lX11 \
        2>"$E2E_TMP/xdnd-build.log"; then
    dropper="$E2E_TMP/xdnd-drop"
else
    e2e_log "no X drag source could be built here; the drag is left out"
fi

start() {
    wine "$pointer" "$@" >"$E2E_TMP/game.stdout" 2>"$E2E_TMP/game.stderr" &
    GAME_PID=$!
    E2E_PIDS+=("$GAME_PID")
    for _ in $(seq 300); do
        grep -q '^shown' "$E2E_TMP/game.stdout" && break
        e2e_game_alive || break
        sleep 0.1
    done
    grep -q '^shown' "$E2E_TMP/game.stdout" || e2e_die "no frame shown under Wine with $*"
    e2e_wait_steady e2e_find_window || e2e_die "no steady window under Wine"
    GAME_WID="$WINDOW"
    sleep 0.5
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
    tail -n +"$((SEEN + 1))" "$E2E_TMP/game.stdout" | tr -d '\r' | sed -n "s/^$1 //p" |
        paste -sd ';'
}

# clicks EXPECTED X,Y...: clicks at each place on the screen (the full-screen
# window covers it), then checks the presses reported, in order.
clicks() {
    local expected="$1" place got
    shift
    mark
    for place in "$@"; do
        timeout 5 xdotool mousemove --sync "${place%,*}" "${place#*,}"
        timeout 5 xdotool click 1
    done
    sleep 0.7
    got="$(reported press)"
    e2e_check "clicks at $* land on '$expected' (got '$got')" [ "$got" = "$expected" ]
}

# Full screen on 1024 x 600: the picture 800 x 600 from x 112.
start
clicks "0 0;639 479;320 240;1 1" 112,0 911,599 512,300 113,1
clicks "" 111,300 912,300 0,0 1023,599
stop

# Whole multiples only: the picture at its own size, at (192, 60).
start --sharp
clicks "0 0;639 479;100 50" 192,60 831,539 292,110
clicks "" 191,300 500,59 500,540 832,300
stop

# ---------------------------------------------------------------- dropped files

mkdir -p "$E2E_TMP/with space"
plain="$E2E_TMP/first.replay"
odd="$E2E_TMP/with space/Küstenflug ✈ 2.replay"
: >"$plain"
: >"$odd"
plain_dos="$(winepath -w "$plain" 2>/dev/null)"
odd_dos="$(winepath -w "$odd" 2>/dev/null)"
expected="$plain_dos;$odd_dos"

start --window 1
mark
if wine "$poster" "Kordavan pointer test" "$plain_dos" "$odd_dos" 2>"$E2E_TMP/post.stderr"; then
    sleep 0.7
    got="$(reported drop)"
    e2e_check "posted WM_DROPFILES paths arrive whole, in order (got '$got')" [ "$got" = "$expected" ]
else
    e2e_fail "WM_DROPFILES could not be posted: $(cat "$E2E_TMP/post.stderr")"
fi
e2e_check "a drop is no press" [ -z "$(reported press)" ]
if [ -n "$dropper" ]; then
    mark
    if "$dropper" "$GAME_WID" "$plain" "$odd" 2>"$E2E_TMP/drop.stderr"; then
        e2e_pass "the window takes a drag from the X desktop"
    else
        e2e_fail "the window did not take the drag: $(cat "$E2E_TMP/drop.stderr")"
    fi
    sleep 0.7
    got="$(reported drop)"
    e2e_check "dragged paths arrive as Windows paths, in order (got '$got')" [ "$got" = "$expected" ]
fi
stop
e2e_summary
