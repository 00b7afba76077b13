#!/usr/bin/env bash
# The settings screen, recorded games and dropped replays of kordavan.exe
# under Wine, full screen on a private 640x480 X server, with real key
# presses. With record-games = yes a game is played, paused, the settings
# screen opened over the pause and closed again (still paused); the game's
# recording in %APPDATA%\Kordavan\recordings verifies with the Linux
# kordavan-trace. Then on the title O opens the screen, Left turns the
# volume down, Escape closes it, the title is back pixel for pixel and the
# settings file has the volume line changed and nothing else; the recording
# dropped onto the window (a posted WM_DROPFILES) plays and gives the title
# back, a text file dragged over from the X desktop is named with its line.
# Started again as Explorer starts it, without a console, the screen shows
# the volume kept, and a dropped text file is told in a box after the game
# and in kordavan.log.
#
#   bash tests/windows/extras_under_wine.sh BUILD-DIR kordavan.exe kordavan-post-drop.exe \
#       [NATIVE-BUILD-DIR]
#
# NATIVE-BUILD-DIR is a Linux build with tools/trace/kordavan-trace; without
# it the recording is checked by kordavan-trace.exe.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/../e2e/lib.bash"
source "$here/wine_lib.bash"
[ $# -ge 3 ] && [ $# -le 4 ] || {
    echo "usage: $0 BUILD-DIR kordavan.exe kordavan-post-drop.exe [NATIVE-BUILD-DIR]" >&2
    exit 2
}
build="$(cd "$1" && pwd)"
exe="$(realpath "$2")"
poster="$(realpath "$3")"
native=""
[ $# -eq 4 ] && native="$(cd "$4" && pwd)"
export LC_ALL=C.UTF-8

e2e_begin windows_extras 240
wine_prefix "$build" || e2e_die "no Wine prefix"
roaming="$(echo "$WINEPREFIX"/drive_c/users/*/AppData/Roaming)"
folder="$roaming/Kordavan"
conf="$folder/kordavan.conf"
recordings="$folder/recordings"
rm -rf "$folder"
trap 'rm -rf "$folder"; e2e_cleanup' EXIT
windows_path() { printf 'Z:%s' "${1//\//\\}"; }

# The sound goes into a file through ALSA's file plugin, as in
# game_under_wine.sh: the game needs a sound device, the host's stays out.
wine_sound_to_file
export ALSA_CONFIG_PATH="/usr/share/alsa/alsa.conf:$E2E_TMP/asound.conf"
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winepulse.drv,wineoss.drv=d"

e2e_xvfb 640x480

# start: kordavan.exe full screen, its window settled and given the keyboard,
# the title on show.
start() {
    wine_start_game --
    sleep 1.5
}

quit() {
    e2e_tap Escape
    e2e_check_ends 10 "Escape $1"
}

# title SHOT: the title picture, pixel for pixel (the scrolling credits aside).
title() { python3 "$here/exact.py" title "$E2E_TMP/$1.rgb" "$build/assets/151.bmp"; }

kept() {
    find "$recordings" -maxdepth 1 -type f -name 'Kordavan ????-??-?? ??-??-??*.replay' 2>/dev/null |
        sort
}

mkdir -p "$folder"
printf '# mine\r\nrecord-games = yes\r\nvolume = 100\r\n' >"$conf"
cp "$conf" "$E2E_TMP/before.conf"

# ---------------------------------------------------------------- a recorded game, paused
start
e2e_shot title
e2e_check "the title shows" title title
e2e_hold space 0.25
# The recording's first line goes in at the game's first step.
for _ in $(seq 300); do
    [ -n "$(kept)" ] && grep -q '^game ' "$(kept | head -n 1)" && break
    sleep 0.1
done
[ -n "$(kept)" ] || e2e_die "no recording began within 30 s of Space"
e2e_hold Left 1
e2e_tap p
sleep 0.4
e2e_shot paused
e2e_tap o
sleep 0.4
e2e_shot pause_settings
e2e_check "O opens the settings screen over the pause" e2e_settings_panel pause_settings
e2e_tap Escape
sleep 0.5
e2e_shot pause_closed
e2e_check_not "Escape closes it" e2e_settings_panel pause_closed
e2e_check "the game goes on" e2e_game_alive
e2e_check_not "the paused frame is back as it was" \
    e2e_image changed "$E2E_TMP/paused.rgb" "$E2E_TMP/pause_closed.rgb" 0 0 640 480 0.001
sleep 1
e2e_shot still_paused
e2e_check_not "and the game stays paused" \
    e2e_image changed "$E2E_TMP/pause_closed.rgb" "$E2E_TMP/still_paused.rgb" 0 0 640 480 0.001
e2e_tap p
e2e_hold Up 0.4
quit "in play"
e2e_check "looking at the screen changed no setting" cmp -s "$conf" "$E2E_TMP/before.conf"

mapfile -t files < <(kept)
e2e_check "one recording in %APPDATA%\\Kordavan\\recordings" [ "${#files[@]}" = 1 ]
[ "${#files[@]}" = 1 ] || e2e_die "no recording to go on with"
recording="${files[0]}"
e2e_log "recorded: $(basename "$recording"), $(wc -l <"$recording") lines"
e2e_check "it holds a game that was quit" grep -q '^end quit ' "$recording"
status=0
if [ -n "$native" ]; then
    "$native/tools/trace/kordavan-trace" --replay "$recording" >"$E2E_TMP/trace.out" \
        2>"$E2E_TMP/trace.err" || status=$?
    what="the Linux kordavan-trace"
else
    wine "$build/tools/trace/kordavan-trace.exe" --replay "$(windows_path "$recording")" \
        >"$E2E_TMP/trace.out" 2>"$E2E_TMP/trace.err" || status=$?
    what="kordavan-trace.exe"
fi
e2e_check "$what plays the recording back as it went (exit $status)" [ "$status" = 0 ]
[ "$status" = 0 ] || sed -n '1,10p' "$E2E_TMP/trace.err"
steps="$(grep -c '' "$E2E_TMP/trace.out" || true)"
e2e_check "and steps through it ($steps steps)" [ "$steps" -gt 60 ]

# ---------------------------------------------------------------- the settings screen on the title
start
e2e_shot title
e2e_tap o
sleep 0.3
e2e_shot opened
e2e_check "O opens the settings screen over the title" e2e_settings_panel opened
e2e_tap Down Down Down
e2e_shot volume100
e2e_tap Left
sleep 0.2
e2e_shot volume90
e2e_check "Left changes the volume on the screen" \
    e2e_image changed "$E2E_TMP/volume100.rgb" "$E2E_TMP/volume90.rgb" 44 66 596 330 0.0005
e2e_tap Escape
sleep 0.5
e2e_shot closed
e2e_check_not "Escape closes the screen" e2e_settings_panel closed
e2e_check "the title is back as it was, pixel for pixel" title closed
printf '# mine\r\nrecord-games = yes\r\nvolume = 90\r\n' >"$E2E_TMP/expected.conf"
if cmp -s "$conf" "$E2E_TMP/expected.conf"; then
    e2e_pass "kordavan.conf has the volume line changed and nothing else, its Windows line ends kept"
else
    e2e_fail "kordavan.conf is not as expected:"
    diff "$E2E_TMP/expected.conf" "$conf" | cat -A || true
fi

# ---------------------------------------------------------------- dropped files on the title
if wine "$poster" Kordavan "$(windows_path "$recording")" 2>"$E2E_TMP/post.stderr"; then
    e2e_pass "the recording is dropped onto the window"
else
    e2e_fail "WM_DROPFILES could not be posted: $(cat "$E2E_TMP/post.stderr")"
fi
e2e_check_replay_plays title "$steps"
e2e_check "after the replay the title is back, pixel for pixel" title after
e2e_check "watching adds no recording" [ "$(kept)" = "$recording" ]

# The text file comes by a drag from the X desktop, which Wine hands the
# window as WM_DROPFILES, when the drag source builds here.
bad="$E2E_TMP/shopping list.txt"
printf 'eggs\r\nflour\r\n' >"$bad"
if command -v c++ >/dev/null 2>&1 &&
    c++ -std=c++20 -O1 -o "$E2E_TMP/xdnd-drop" "$here/../e2e/xdnd_drop.cpp" -lX11 \
        2>"$E2E_TMP/xdnd-build.log"; then
    e2e_check "the window takes a text file dragged from the X desktop" \
        "$E2E_TMP/xdnd-drop" "$GAME_WID" "$bad"
else
    e2e_log "no X drag source could be built here; the text file is posted"
    wine "$poster" Kordavan "$(windows_path "$bad")" 2>"$E2E_TMP/post.stderr" ||
        e2e_fail "WM_DROPFILES could not be posted: $(cat "$E2E_TMP/post.stderr")"
fi
sleep 1
e2e_shot refused
e2e_check "a dropped text file is named with its line" \
    grep -qF "kordavan: $(windows_path "$bad"): line 1: " "$E2E_TMP/game.stderr"
e2e_check "and the title stays" title refused
quit "on the title"

# ---------------------------------------------------------------- started again, as Explorer does
# Without a console: the screen shows the volume kept, and the line about a
# dropped text file reaches the player in a box once the window has closed,
# and stays in kordavan.log.
rm -f "$folder/kordavan.log"
e2e_mark_windows
wine start /wait /unix "$exe" >/dev/null 2>&1 &
GAME_PID=$!
E2E_PIDS+=("$GAME_PID")
e2e_wait_steady e2e_new_window || e2e_die "no window of kordavan.exe started without a console"
game_window="${WINDOW%% *}"
timeout 5 xdotool windowfocus "$game_window" >/dev/null 2>&1 || true
sleep 1.5
e2e_tap o Down Down Down
sleep 0.2
e2e_shot again90
e2e_check_not "the screen shows the volume kept" \
    e2e_image changed "$E2E_TMP/volume90.rgb" "$E2E_TMP/again90.rgb" 44 66 596 330 0.001
e2e_tap Escape
sleep 0.3
wine "$poster" Kordavan "$(windows_path "$bad")" 2>"$E2E_TMP/post.stderr" ||
    e2e_fail "WM_DROPFILES could not be posted: $(cat "$E2E_TMP/post.stderr")"
sleep 1
e2e_shot refused_again
e2e_check "without a console too the title stays" title refused_again
# The box: the topmost new window narrower than the game's.
new_box() {
    e2e_windows | awk -v old="${E2E_OLD_WINDOWS:- }" \
        '$2 == 1 && index(old, " " $1 " ") == 0 && $5 < 600 {found = $1 " " $3 " " $4 " " $5 " " $6}
         END {if (found != "") print found}'
}
e2e_mark_windows
timeout 5 xdotool windowfocus "$game_window" >/dev/null 2>&1 || true
e2e_tap Escape
if e2e_wait_steady new_box; then
    e2e_pass "a box follows the game"
    e2e_check "kordavan.log names the dropped file with its line" \
        grep -qF "$(windows_path "$bad"): line 1: " "$folder/kordavan.log"
    e2e_press_ok Return "$WINDOW"
else
    e2e_fail "no box after the game for the dropped text file"
fi
e2e_check_ends 10 "dismissing its box"
e2e_check "nothing was saved by looking" cmp -s "$conf" "$E2E_TMP/expected.conf"
e2e_summary
