#!/usr/bin/env bash
# The settings screen, recorded games and dropped replays of kordavan.exe
# under Wine: the scenarios of tests/e2e/scenarios.bash, which the native
# game plays in record_games.sh, settings_screen.sh and drop_replay.sh, here
# with the game started by Wine, its settings in %APPDATA%\Kordavan with
# Windows line ends, and its recording checked by the Linux kordavan-trace.
# The recording is dropped onto the window as a posted WM_DROPFILES, the
# text file dragged over from the X desktop. Then only Windows: started
# again as Explorer starts it, without a console, the settings show as they
# were left, and a dropped text file is told in a box after the game and in
# kordavan.log.
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
source "$here/../e2e/scenarios.bash"
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

e2e_begin windows_extras 330
wine_prefix "$build" || e2e_die "no Wine prefix"
roaming="$(echo "$WINEPREFIX"/drive_c/users/*/AppData/Roaming)"
folder="$roaming/Kordavan"
recordings="$folder/recordings"
rm -rf "$folder"
trap 'rm -rf "$folder"; e2e_cleanup' EXIT
E2E_CONF="$folder/kordavan.conf"
E2E_EOL=$'\r\n'
E2E_TITLE_BMP="$build/assets/151.bmp"

# The sound goes into a file through ALSA's file plugin, as in
# game_under_wine.sh: the game needs a sound device, the host's stays out.
wine_sound_to_file
export ALSA_CONFIG_PATH="/usr/share/alsa/alsa.conf:$E2E_TMP/asound.conf"
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winepulse.drv,wineoss.drv=d"

e2e_xvfb 640x480

# play_back FILE: the recording's trace, by the Linux kordavan-trace when
# there is one, else by kordavan-trace.exe.
play_back() {
    if [ -n "$native" ]; then
        "$native/tools/trace/kordavan-trace" --replay "$1"
    else
        wine "$build/tools/trace/kordavan-trace.exe" --replay "$(wine_path "$1")"
    fi
}

# post_drop FILE: a WM_DROPFILES naming the file, posted to the game's window.
post_drop() { wine "$poster" Kordavan "$(wine_path "$1")" 2>"$E2E_TMP/post.stderr"; }

# x_drop FILE: the file dragged over from the X desktop, which Wine hands the
# window as WM_DROPFILES; posted where no drag source builds here.
dropper="$(wine_x_dropper)" || e2e_log "no X drag source could be built here; the text file is posted"
x_drop() {
    if [ -n "$dropper" ]; then "$dropper" "$GAME_WID" "$1"; else post_drop "$1"; fi
}

mkdir -p "$folder"
printf '# mine\r\nrecord-games = yes\r\nvolume = 100\r\n' >"$E2E_CONF"

scenario_recorded_game "$exe" "$recordings" play_back scenario_settings_over_pause
scenario_settings_change "$exe"
scenario_dropped_replay post_drop "$RECORDING" "$RECORDED_STEPS"
e2e_check "watching adds no recording" [ "$(e2e_recordings "$recordings")" = "$RECORDING" ]
scenario_dropped_text x_drop
e2e_tap Escape
e2e_check_ends 10 "Escape on the title"

# ---------------------------------------------------------------- started again, as Explorer does
# Without a console: the screen shows the settings kept, and the line about a
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
scenario_settings_kept
post_drop "$DROPPED_TEXT" || e2e_fail "WM_DROPFILES could not be posted: $(cat "$E2E_TMP/post.stderr")"
sleep 1
e2e_shot refused_again
e2e_check "without a console too the title stays" scenario_title_is refused_again
e2e_mark_windows
timeout 5 xdotool windowfocus "$game_window" >/dev/null 2>&1 || true
e2e_tap Escape
if e2e_wait_steady e2e_new_window 600; then
    e2e_pass "a box follows the game"
    e2e_check "kordavan.log names the dropped file with its line" \
        grep -qF "$(wine_path "$DROPPED_TEXT"): line 1: " "$folder/kordavan.log"
    e2e_press_ok Return "$WINDOW"
else
    e2e_fail "no box after the game for the dropped text file"
fi
e2e_check_ends 10 "dismissing its box"
e2e_check "nothing was saved by looking" cmp -s "$E2E_CONF" "$E2E_TMP/expected.conf"

# ---------------------------------------------------------------- the player's own keys
# F11 and Alt+Enter are the Windows back end's own: while a key is asked for
# they switch the display and are not given.
scenario_settings_own_keys "$exe"
sleep 0.5
e2e_tap Escape
e2e_check_ends 10 "Escape after the own keys"
e2e_summary
