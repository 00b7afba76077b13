#!/usr/bin/env bash
# What a Windows player meets, under Wine on a private 1024x768 X server.
# Started as Explorer starts it (no console, no standard streams): --help and
# --version answer in a box that fits the screen and end with 0; a damaged
# settings line reaches the player in a box once the window has closed and in
# kordavan.log beside the settings, dated and with CR LF line ends, and a
# clean run after it removes that log; without a sound device the game's own box
# is followed by one saying what to do. Paths in Cyrillic, CJK and an emoji
# work for --record and for the settings folder (%APPDATA%). A replay
# recorded here verifies with the Linux kordavan-trace and one recorded by the
# Linux game verifies with kordavan-trace.exe, the traces byte for byte the
# same. On a French keyboard a key's name is its place on a US keyboard.
#
#   bash tests/windows/player_under_wine.sh BUILD-DIR path/to/kordavan.exe [NATIVE-BUILD-DIR]
#
# NATIVE-BUILD-DIR is a Linux build with kordavan and tools/trace/kordavan-trace;
# without it the checks across the two systems are left out.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/../e2e/lib.bash"
source "$here/wine_lib.bash"
[ $# -ge 2 ] && [ $# -le 3 ] || {
    echo "usage: $0 BUILD-DIR path/to/kordavan.exe [NATIVE-BUILD-DIR]" >&2
    exit 2
}
build="$(cd "$1" && pwd)"
exe="$(realpath "$2")"
trace_exe="$build/tools/trace/kordavan-trace.exe"
native=""
[ $# -eq 3 ] && native="$(cd "$3" && pwd)"

e2e_begin windows_player 600
wine_prefix "$build" || e2e_die "no Wine prefix"
# A game started through start or cmd is a process of its own: whatever is
# left of this prefix's programs ends with the script.
trap 'wineserver -k >/dev/null 2>&1 || true; e2e_cleanup' EXIT
roaming="$(echo "$WINEPREFIX"/drive_c/users/*/AppData/Roaming)"
rm -rf "$roaming/Kordavan"
no_device=(env "WINEDLLOVERRIDES=$WINEDLLOVERRIDES;winealsa.drv,winepulse.drv,wineoss.drv=d")

e2e_xvfb 1024x768

# explorer_start ARGUMENT...: the game as Explorer or a shortcut starts it,
# without a console or standard streams; GAME_PID waits for it.
explorer_start() {
    e2e_mark_windows
    wine start /wait /unix "$exe" "$@" >/dev/null 2>&1 &
    GAME_PID=$!
    E2E_PIDS+=("$GAME_PID")
}

# wait_box WHAT [LOOKUP...]: waits for the window LOOKUP finds (by default
# the newest made since the mark) to stand still; BOX is then "ID X Y WIDTH
# HEIGHT". A box is told from the game's own window, which may show before
# it, by being narrower than the picture: e2e_new_window 600.
wait_box() {
    local what="$1"
    shift
    [ $# -gt 0 ] || set -- e2e_new_window
    e2e_wait_steady "$@" || e2e_die "no $what within $((E2E_STEADY_TENTHS / 10)) s"
    BOX="$WINDOW"
    e2e_log "$what: $BOX"
}

# play_in_window: the window of the game just started, made since the mark,
# settled and given the keyboard.
play_in_window() {
    wait_box "game window"
    timeout 5 xdotool windowfocus "${BOX%% *}" >/dev/null 2>&1 || true
    sleep 1
}

# fits_screen "ID X Y WIDTH HEIGHT": the whole window, OK button included,
# is on the 1024x768 screen.
fits_screen() {
    local id x y w h
    read -r id x y w h <<<"$1"
    [ "$x" -ge 0 ] && [ "$y" -ge 0 ] && [ $((x + w)) -le 1024 ] && [ $((y + h)) -le 768 ]
}

# ---------------------------------------------------------------- --help, --version
for option in --help --version; do
    explorer_start "$option"
    wait_box "box for $option"
    e2e_check "$option shows a box that fits a 1024x768 screen ($BOX)" fits_screen "$BOX"
    e2e_press_ok Return "$BOX"
    if e2e_wait_exit 10; then
        e2e_check "$option ends with 0 once its box is dismissed (got $GAME_EXIT)" [ "$GAME_EXIT" = 0 ]
    else
        e2e_fail "the game still runs 10 s after its $option box was dismissed"
    fi
done

# ---------------------------------------------------------------- a warning without a console
mkdir -p "$roaming/Kordavan"
printf 'display = window\nvolume = loud\n' >"$roaming/Kordavan/kordavan.conf"
explorer_start --no-sound
wait_box "game window"
game_box="$BOX"
timeout 5 xdotool windowfocus "${game_box%% *}" >/dev/null 2>&1 || true
sleep 2
e2e_mark_windows
e2e_hold Escape 0.2
wait_box "box after the game"
window_shown() { e2e_windows | grep -q "^$1 1 "; }
e2e_check_not "the game's window is gone when the box shows" window_shown "${game_box%% *}"
e2e_check "the box fits the screen" fits_screen "$BOX"
e2e_check "kordavan.log beside the settings has the damaged line" \
    grep -q 'kordavan.conf:2' "$roaming/Kordavan/kordavan.log"
e2e_check "kordavan.log is headed with the version and the time" \
    grep -qE "^Kordavan [0-9.]+, [0-9]{4}-[0-9]{2}-[0-9]{2} [0-9]{2}:[0-9]{2}:[0-9]{2}"$'\r$' \
    "$roaming/Kordavan/kordavan.log"
e2e_check_not "every line of kordavan.log ends with CR LF, as Notepad needs" \
    grep -qv $'\r$' "$roaming/Kordavan/kordavan.log"
e2e_press_ok Return "$BOX"
if e2e_wait_exit 10; then
    e2e_check "the game ends with 0 once the box is dismissed (got $GAME_EXIT)" [ "$GAME_EXIT" = 0 ]
else
    e2e_fail "the game still runs 10 s after the box of warnings was dismissed"
fi

# ---------------------------------------------------------------- a clean run after it
printf 'display = window\r\n' >"$roaming/Kordavan/kordavan.conf"
explorer_start --no-sound
play_in_window
e2e_hold Escape 0.2
if e2e_wait_exit 10; then
    e2e_check "a clean run ends with 0 and no box (got $GAME_EXIT)" [ "$GAME_EXIT" = 0 ]
else
    e2e_fail "the clean run still runs 10 s after Escape"
fi
e2e_check_not "a clean run leaves no old warnings in kordavan.log" \
    test -e "$roaming/Kordavan/kordavan.log"

# ---------------------------------------------------------------- no sound device, no console
rm -rf "$roaming/Kordavan"
e2e_mark_windows
"${no_device[@]}" wine start /wait /unix "$exe" >/dev/null 2>&1 &
GAME_PID=$!
E2E_PIDS+=("$GAME_PID")
wait_box "the game's own box" e2e_new_window 600
first="$BOX"
e2e_mark_windows
e2e_press_ok Return "$first"
wait_box "the box that says what to do" e2e_new_window 600
e2e_check "a second box follows the game's own" [ "${BOX%% *}" != "${first%% *}" ]
e2e_check "the second box fits the screen" fits_screen "$BOX"
e2e_check "kordavan.log points to --no-sound" grep -q -- "--no-sound" "$roaming/Kordavan/kordavan.log"
e2e_press_ok Return "$BOX"
if e2e_wait_exit 10; then
    e2e_check "without a sound device the game ends with 1 (got $GAME_EXIT)" [ "$GAME_EXIT" = 1 ]
else
    e2e_fail "the game still runs 10 s after its boxes were dismissed"
fi
rm -rf "$roaming/Kordavan"

# ---------------------------------------------------------------- names in any script
# "Дмитрий_日本_🚁" as the settings folder (cmd hands the game its
# environment; Wine sets APPDATA itself for a program it starts), and a
# replay under "Дмитрий 日本 🚁 dir\my rec.txt".
name_words='Дмитрий 日本 🚁'
appdata="$WINEPREFIX/drive_c/users/Дмитрий_日本_🚁"
rm -rf "$appdata"
mkdir -p "$E2E_TMP/$name_words dir"
wine_replay="$E2E_TMP/$name_words dir/my rec.txt"
record_game() {
    e2e_hold space 0.25
    e2e_wait_game_recorded "$1" || e2e_die "no game began within 30 s of Space"
    e2e_hold Left 1
    e2e_hold Up 0.4
    e2e_hold F11 0.2
    sleep 1
    e2e_hold Right 0.5
    e2e_hold Escape 0.2
}
e2e_mark_windows
wine cmd /c set 'APPDATA=C:\users\Дмитрий_日本_🚁&&' "$(wine_path "$exe")" --window \
    --no-sound --record "$(wine_path "$wine_replay")" \
    >"$E2E_TMP/game.stdout" 2>"$E2E_TMP/game.stderr" &
GAME_PID=$!
E2E_PIDS+=("$GAME_PID")
play_in_window
record_game "$wine_replay"
if e2e_wait_exit 10; then
    e2e_check "the game recording under a Unicode name ends with 0 (got $GAME_EXIT)" \
        [ "$GAME_EXIT" = 0 ]
else
    e2e_fail "the game still runs 10 s after Escape"
fi
e2e_check "the replay is written under its Cyrillic, CJK and emoji name" \
    bash -c "[ \"\$(head -n 1 '$wine_replay')\" = 'kordavan-replay 1' ]"
e2e_check "F11's choice is kept in the Unicode settings folder" \
    grep -q '^display = fullscreen' "$appdata/Kordavan/kordavan.conf"

# A damaged line in a Unicode folder is named with the folder, in UTF-8.
printf 'key-jump = J\n' >"$appdata/Kordavan/kordavan.conf"
wine cmd /c set 'APPDATA=C:\users\Дмитрий_日本_🚁&&' "$(wine_path "$exe")" --window \
    --no-sound --record 'Z:\nowhere\at all\x.txt' \
    >"$E2E_TMP/game.stdout" 2>"$E2E_TMP/game.stderr" || true
e2e_check "a warning names the Unicode settings folder whole" \
    grep -qF "Дмитрий_日本_🚁\\Kordavan\\kordavan.conf:1" "$E2E_TMP/game.stderr"
e2e_check "a replay that cannot be made is named whole" \
    grep -qF 'Z:\nowhere\at all\x.txt' "$E2E_TMP/game.stderr"
rm -rf "$appdata"

# ---------------------------------------------------------------- replays across systems
# trace_both REPLAY: kordavan-trace.exe and the Linux kordavan-trace play it
# back; both must find it went as recorded, with the same trace.
trace_both() {
    wine "$trace_exe" --replay "$(wine_path "$1")" --draws --sounds \
        >"$E2E_TMP/windows.trace" 2>"$E2E_TMP/windows.errors" &&
        "$native/tools/trace/kordavan-trace" --replay "$1" --draws --sounds \
            >"$E2E_TMP/linux.trace" 2>"$E2E_TMP/linux.errors" &&
        [ -s "$E2E_TMP/linux.trace" ] && cmp "$E2E_TMP/windows.trace" "$E2E_TMP/linux.trace"
}
if [ -n "$native" ]; then
    cp "$wine_replay" "$E2E_TMP/wine.replay"
    e2e_check "a game recorded on Windows verifies on Linux, the traces byte for byte the same" \
        trace_both "$E2E_TMP/wine.replay"

    export HOME="$E2E_TMP/home"
    mkdir -p "$HOME"
    e2e_start_game "$native/kordavan" --window --no-sound --record "$E2E_TMP/linux.replay"
    sleep 1
    record_game "$E2E_TMP/linux.replay"
    e2e_wait_exit 10 || e2e_die "the Linux game still runs 10 s after Escape"
    e2e_check "a game recorded on Linux verifies on Windows, the traces byte for byte the same" \
        trace_both "$E2E_TMP/linux.replay"
else
    e2e_log "no Linux build given: the replays are not checked across the systems"
fi

# ---------------------------------------------------------------- a French keyboard
# key-left = A is the key in A's place on a US keyboard: the one a French
# keyboard labels Q. The key labelled A there (Q's place) does nothing. The
# replay being recorded tells which controls the game saw.
setxkbmap -display "$DISPLAY" fr || e2e_die "setxkbmap cannot set a French layout"
mkdir -p "$roaming/Kordavan"
printf 'key-left = A\n' >"$roaming/Kordavan/kordavan.conf"
french="$E2E_TMP/french.replay"
e2e_mark_windows
e2e_launch "$exe" --window --no-sound --record "$(wine_path "$french")"
play_in_window
e2e_hold space 0.25
e2e_wait_game_recorded "$french" || e2e_die "no game began within 30 s of Space"
e2e_hold a 1
sleep 0.5
e2e_check "the key labelled A on a French keyboard does not fly left" \
    [ "$(grep -c LEFT "$french")" = 0 ]
e2e_hold q 1
sleep 0.5
e2e_check "the key labelled Q, in A's place, flies left" [ "$(grep -c LEFT "$french")" -ge 20 ]
e2e_hold Escape 0.2
e2e_wait_exit 10 || e2e_fail "the game still runs 10 s after Escape"
setxkbmap -display "$DISPLAY" us || true
rm -rf "$roaming/Kordavan"

e2e_summary
