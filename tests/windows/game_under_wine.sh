#!/usr/bin/env bash
# kordavan.exe under Wine on a private 640x480 X server: full screen, the
# title exactly as drawn, F12 keeping it in the Pictures folder, Space and a
# first game frame identical to the one kordavan-trace.exe draws, Left
# scrolling, the sound reaching the sound device, Escape ending with 0; in a
# window with --no-sound, closing the window ends with 0; with no sound device
# at all, the message box and exit 1.
#
#   bash tests/windows/game_under_wine.sh BUILD-DIR path/to/kordavan.exe
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/../e2e/lib.bash"
source "$here/wine_lib.bash"
[ $# -eq 2 ] || { echo "usage: $0 BUILD-DIR path/to/kordavan.exe" >&2; exit 2; }
build="$(cd "$1" && pwd)"
exe="$(realpath "$2")"
trace="$build/tools/trace/kordavan-trace.exe"

e2e_begin windows_game 420
wine_prefix "$build" || e2e_die "no Wine prefix"
# Settings left by an earlier run would change what the game shows.
rm -rf "$WINEPREFIX"/drive_c/users/*/AppData/Roaming/Kordavan

# The sound device: ALSA's file plugin, which writes what Wine plays into a
# file, as a real card would play it. Wine's other drivers are left out so
# the host's own sound never counts.
wine_sound_to_file
with_sound=(env "ALSA_CONFIG_PATH=/usr/share/alsa/alsa.conf:$E2E_TMP/asound.conf"
    "WINEDLLOVERRIDES=$WINEDLLOVERRIDES;winepulse.drv,wineoss.drv=d")
no_device=(env "WINEDLLOVERRIDES=$WINEDLLOVERRIDES;winealsa.drv,winepulse.drv,wineoss.drv=d")

audio_sounding() {
    # Anything but silence written since the mark.
    local sound
    sound="$(tail -c +"$(($1 + 1))" "$E2E_TMP/audio.raw" 2>/dev/null | head -c 2000000 |
        tr -d '\0' | wc -c)"
    e2e_log "$sound bytes of sound that are not silence"
    [ "$sound" -gt 0 ]
}

# The frames the trace tool draws from the first step of the game on.
printf '\n%.0s' $(seq 120) | wine "$trace" --steps 120 --frames "$E2E_TMP/frames" \
    >/dev/null 2>"$E2E_TMP/trace.stderr" || e2e_die "kordavan-trace.exe could not draw the frames"

# ---------------------------------------------------------------- command line
# Redirected, the texts go where they are sent, as on Linux (with Windows'
# line ends); exit statuses too.
status=0
wine "$exe" --version >"$E2E_TMP/version.txt" 2>&1 || status=$?
e2e_check "--version prints the version and ends with 0" \
    bash -c "[ $status = 0 ] && tr -d '\\r' <'$E2E_TMP/version.txt' | grep -qx 'kordavan [0-9.]*'"
status=0
wine "$exe" --help >"$E2E_TMP/help.txt" 2>&1 || status=$?
e2e_check "--help names the settings file in %APPDATA% and ends with 0" \
    bash -c "[ $status = 0 ] && grep -qF '%APPDATA%\\Kordavan\\kordavan.conf' '$E2E_TMP/help.txt'"
status=0
wine "$exe" --volume=101 >/dev/null 2>"$E2E_TMP/refused.txt" || status=$?
e2e_check "a bad command line ends with 2 and says why" \
    bash -c "[ $status = 2 ] && grep -q 'volume' '$E2E_TMP/refused.txt'"

e2e_xvfb 640x480

shell_folders='HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\User Shell Folders'
mkdir -p "$E2E_TMP/pictures"
wine reg add "$shell_folders" /v "My Pictures" /t REG_EXPAND_SZ \
    /d "Z:${E2E_TMP//\//\\}\\pictures" /f >/dev/null 2>&1 || e2e_die "cannot move the Pictures folder"

# ---------------------------------------------------------------- full screen, with sound
wine_start_game "${with_sound[@]}" --
sleep 2
e2e_game_alive || e2e_die "the game ended on the title"
e2e_shot title
e2e_check "the title is the title picture, pixel for pixel" \
    python3 "$E2E_DIR/exact.py" title "$E2E_TMP/title.rgb" "$build/assets/151.bmp"
e2e_check "the title music reaches the sound device" audio_sounding 0
e2e_hold F12 0.2
sleep 1
wine reg add "$shell_folders" /v "My Pictures" /t REG_EXPAND_SZ /d '%USERPROFILE%\Pictures' \
    /f >/dev/null 2>&1

# F12 keeps the title as a PNG in the Pictures known folder, under Kordavan:
# here a folder of the test's own, set where Explorer keeps it (Wine's own
# Pictures is the Linux home folder).
shot_folder="$E2E_TMP/pictures/Kordavan"
e2e_check "F12 saved one picture in the Pictures folder's Kordavan" \
    bash -c "[ \$(find '$shot_folder' -name 'Kordavan *.png' -type f 2>/dev/null | wc -l) = 1 ]"
shot="$(find "$shot_folder" -name 'Kordavan *.png' -type f 2>/dev/null | head -n 1)"
if [ -n "$shot" ]; then
    e2e_check "the saved PNG is the title picture, pixel for pixel" \
        bash -c "python3 '$here/../decode_png.py' '$shot' '$E2E_TMP/saved.rgb' >/dev/null &&
            python3 '$E2E_DIR/exact.py' title '$E2E_TMP/saved.rgb' '$build/assets/151.bmp'"
fi

e2e_hold space 0.25
# The loading sequence lasts 700 passes, about 11.7 s; from then on the
# screen shows the trace tool's frames, the first of them first.
sleep 10
e2e_check "the game's first frames are the trace tool's, pixel for pixel" \
    python3 "$E2E_DIR/exact.py" catch "$E2E_TMP/frames" 15
e2e_shot game1
audio_mark="$(e2e_audio_bytes)"
e2e_hold Left 1.5
e2e_shot game2
e2e_check "holding Left scrolls the landscape" \
    e2e_image changed "$E2E_TMP/game1.rgb" "$E2E_TMP/game2.rgb" 0 300 220 480 0.05
e2e_check "the game's sound reaches the sound device" audio_sounding "$audio_mark"
e2e_hold Escape 0.2
if e2e_wait_exit 10; then
    e2e_check "Escape ends the game with exit 0 (got $GAME_EXIT)" [ "$GAME_EXIT" = 0 ]
else
    e2e_fail "the game still runs 10 s after Escape"
fi

# ---------------------------------------------------------------- window, no sound
rm -f "$E2E_TMP/audio.raw"
wine_start_game "${no_device[@]}" -- --window --no-sound
sleep 2
e2e_game_alive || e2e_die "the game with --no-sound ended on the title"
e2e_shot window_title
e2e_check "with --no-sound the title shows without a sound device" \
    e2e_image varied "$E2E_TMP/window_title.rgb" 0 0 300 480 64
python3 "$here/../e2e/close_window.py" "$GAME_WID" || e2e_fail "the window takes no close request"
if e2e_wait_exit 10; then
    e2e_check "closing the window ends the game with exit 0 (got $GAME_EXIT)" [ "$GAME_EXIT" = 0 ]
else
    e2e_fail "the game still runs 10 s after its window was closed"
fi

# ---------------------------------------------------------------- no sound device
"${no_device[@]}" wine "$exe" >"$E2E_TMP/game.stdout" 2>"$E2E_TMP/game.stderr" &
GAME_PID=$!
E2E_PIDS+=("$GAME_PID")
box=""
for _ in $(seq 200); do
    box="$(timeout 5 xdotool search --onlyvisible --name '^Kordavan$' 2>/dev/null | tail -n 1 || true)"
    [ -n "$box" ] && break
    sleep 0.1
done
[ -n "$box" ] || e2e_die "no message box within 20 s"
box_shown() {
    e2e_shot message
    e2e_image varied "$E2E_TMP/message.rgb" 0 0 640 480 3
}
for _ in $(seq 20); do box_shown >/dev/null && break; sleep 0.25; done
e2e_check "the message box is on the screen" box_shown
timeout 5 xdotool windowfocus "$box" >/dev/null 2>&1 || true
timeout 5 xdotool key --window "$box" Return >/dev/null 2>&1 || true
timeout 5 xdotool keydown Return; sleep 0.15; timeout 5 xdotool keyup Return
if e2e_wait_exit 10; then
    e2e_check "without a sound device the game ends with exit 1 (got $GAME_EXIT)" [ "$GAME_EXIT" = 1 ]
else
    e2e_fail "the game still runs 10 s after its message box was dismissed"
fi
e2e_check "standard error points to --no-sound" grep -q -- "--no-sound" "$E2E_TMP/game.stderr"

e2e_summary
