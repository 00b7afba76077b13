# Shared helpers of the end-to-end scripts: a private X server, the real game
# started with SDL's disk audio driver, keys, screenshots and clean-up.
#
# Named .bash, not .sh, so that CTest does not take it for a test. A script
# sources this file, calls e2e_begin with its name and a global time
# limit, and then uses the helpers below. Every process started here is
# remembered by its process id and killed on exit, whatever the outcome.

E2E_DIR="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
E2E_PIDS=()
E2E_PASSED=0
E2E_FAILED=0
E2E_TMP=""
E2E_NAME="e2e"
E2E_WATCHDOG=""
XVFB_PID=""
GAME_PID=""
GAME_WID=""
GAME_EXIT=""
# Words put before the game's command line, e.g. (/usr/bin/time -v).
E2E_WRAPPER=()
# Set from outside to try the tests on other desktops: E2E_XVFB_ARGS, more
# arguments for Xvfb (e.g. "-fp DIR" for other fonts), and
# E2E_WINDOW_MANAGER, a window manager started on each private display
# (e.g. openbox).
E2E_XVFB_ARGS="${E2E_XVFB_ARGS:-}"
E2E_WINDOW_MANAGER="${E2E_WINDOW_MANAGER:-}"

e2e_log() { printf '[%s] %s\n' "$E2E_NAME" "$*"; }

e2e_cleanup() {
    local pid
    for pid in "${E2E_PIDS[@]}"; do
        if kill -0 "$pid" 2>/dev/null; then
            kill -TERM "$pid" 2>/dev/null || true
        fi
    done
    for pid in "${E2E_PIDS[@]}"; do
        for _ in 1 2 3 4 5 6 7 8 9 10; do
            kill -0 "$pid" 2>/dev/null || break
            sleep 0.1
        done
        kill -KILL "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    if [ -n "$E2E_WATCHDOG" ]; then
        kill -TERM "$E2E_WATCHDOG" 2>/dev/null || true
        wait "$E2E_WATCHDOG" 2>/dev/null || true
    fi
    if [ -n "$E2E_TMP" ] && [ -z "${E2E_KEEP:-}" ]; then
        rm -rf "$E2E_TMP"
    fi
}

# e2e_begin NAME SECONDS: temporary folder, clean-up trap and a watchdog that
# stops the whole script once the time is up.
e2e_begin() {
    E2E_NAME="$1"
    local limit="$2"
    E2E_TMP="$(mktemp -d "${TMPDIR:-/tmp}/kordavan-e2e.XXXXXX")"
    trap e2e_cleanup EXIT
    trap 'e2e_log "FAIL: the script ran out of its ${limit} s"; exit 124' TERM
    trap 'exit 130' INT
    local script_pid=$$
    (
        trap 'kill "$sleeper" 2>/dev/null; exit 0' TERM
        sleep "$limit" &
        sleeper=$!
        wait "$sleeper"
        kill -TERM "$script_pid" 2>/dev/null
    ) &
    E2E_WATCHDOG=$!
    e2e_log "working in $E2E_TMP"
}

e2e_pass() {
    E2E_PASSED=$((E2E_PASSED + 1))
    e2e_log "ok: $*"
}

# A failed check is counted and reported; the script goes on where it can.
e2e_fail() {
    E2E_FAILED=$((E2E_FAILED + 1))
    e2e_log "FAIL: $*"
}

# Stops at once: later checks make no sense without this one.
e2e_die() {
    E2E_FAILED=$((E2E_FAILED + 1))
    e2e_log "FAIL: $*"
    e2e_show_stderr
    e2e_summary
}

e2e_check() {
    local what="$1"
    shift
    if "$@"; then e2e_pass "$what"; else e2e_fail "$what"; fi
}

# e2e_check_not WHAT COMMAND...: passes when the command fails.
e2e_check_not() {
    local what="$1"
    shift
    if "$@"; then e2e_fail "$what"; else e2e_pass "$what"; fi
}

e2e_summary() {
    e2e_log "$E2E_PASSED passed, $E2E_FAILED failed"
    if [ "$E2E_FAILED" -ne 0 ]; then exit 1; fi
    exit 0
}

e2e_show_stderr() {
    if [ -s "$E2E_TMP/game.stderr" ]; then
        e2e_log "the game's standard error:"
        sed -n '1,40p' "$E2E_TMP/game.stderr"
    fi
}

# e2e_xvfb WIDTHxHEIGHT: a private X server on a display number it picks
# itself; sets DISPLAY and the screen size.
e2e_xvfb() {
    local size="$1"
    SCREEN_W="${size%x*}"
    SCREEN_H="${size#*x}"
    local fdfile="$E2E_TMP/displayfd"
    : >"$fdfile"
    # shellcheck disable=SC2086
    Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp -noreset $E2E_XVFB_ARGS \
        3>"$fdfile" >"$E2E_TMP/xvfb.log" 2>&1 &
    XVFB_PID=$!
    E2E_PIDS+=("$XVFB_PID")
    local number=""
    for _ in $(seq 100); do
        number="$(tr -dc '0-9' <"$fdfile")"
        if [ -n "$number" ] && [ "$(tail -c 1 "$fdfile" | od -An -c | tr -d ' ')" = '\n' ]; then
            break
        fi
        kill -0 "$XVFB_PID" 2>/dev/null || break
        sleep 0.1
    done
    if [ -z "$number" ]; then
        sed -n '1,20p' "$E2E_TMP/xvfb.log"
        e2e_die "Xvfb did not start"
    fi
    export DISPLAY=":$number"
    for _ in $(seq 50); do
        if timeout 5 xdpyinfo >/dev/null 2>&1; then
            e2e_log "Xvfb $size on $DISPLAY (pid $XVFB_PID)"
            e2e_window_manager
            return 0
        fi
        sleep 0.1
    done
    e2e_die "Xvfb on $DISPLAY does not answer"
}

# No window is looked up by its name: how a name reads depends on the fonts
# and the locale of the machine (SDL's message box names itself in a text
# type xdotool cannot read in every locale), and a window manager puts a frame
# around every window.

# e2e_game_pids: the game's process and its children (a wrapper such as
# /usr/bin/time runs the game as its child).
e2e_game_pids() {
    echo "$GAME_PID"
    ps -o pid= --ppid "$GAME_PID" 2>/dev/null || true
}

# e2e_find_window: the game's visible window now, found by the process id SDL
# stores on it (_NET_WM_PID). SDL may make its window twice while it sets up
# the renderer, so an id found early can go stale.
e2e_find_window() {
    local pid
    for pid in $(e2e_game_pids); do
        timeout 5 xdotool search --onlyvisible --pid "$pid" 2>/dev/null || true
    done | tail -n 1
}

# e2e_window_manager: starts $E2E_WINDOW_MANAGER, if any, on the display
# and waits until it has taken charge of the root window.
e2e_window_manager() {
    [ -n "$E2E_WINDOW_MANAGER" ] || return 0
    # shellcheck disable=SC2086
    $E2E_WINDOW_MANAGER >"$E2E_TMP/window-manager.log" 2>&1 &
    local pid=$!
    E2E_PIDS+=("$pid")
    for _ in $(seq 100); do
        if timeout 5 xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; then
            e2e_log "window manager $E2E_WINDOW_MANAGER (pid $pid)"
            return 0
        fi
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    sed -n '1,20p' "$E2E_TMP/window-manager.log"
    e2e_die "the window manager $E2E_WINDOW_MANAGER did not start"
}

# e2e_windows: the top-level windows on the private display, bottom of the
# stack first, one "ID VIEWABLE X Y WIDTH HEIGHT" line each.
e2e_windows() {
    timeout 10 python3 "$E2E_DIR/windows.py" 2>/dev/null || true
}

# e2e_mark_windows: remembers the windows there now; e2e_new_window finds
# only those made later.
e2e_mark_windows() {
    E2E_OLD_WINDOWS=" $(e2e_windows | awk '{printf "%s ", $1}')"
}

# e2e_new_window [NARROWER-THAN]: the topmost visible window made since
# e2e_mark_windows, as "ID X Y WIDTH HEIGHT", or nothing. It finds windows
# that carry no process id, such as a message box; with a width, only those
# narrower, so that a box is told from the game's own new window.
e2e_new_window() {
    e2e_windows | awk -v old="${E2E_OLD_WINDOWS:- }" -v narrower="${1:-0}" \
        '$2 == 1 && index(old, " " $1 " ") == 0 && (narrower == 0 || $5 < narrower) {found = $1 " " $3 " " $4 " " $5 " " $6}
         END {if (found != "") print found}'
}

# e2e_window_size [ID]: the size of that window (the game's by default) as
# WIDTHxHEIGHT, or "none".
e2e_window_size() {
    local id="${1-$GAME_WID}"
    [ -n "$id" ] || { echo none; return 0; }
    timeout 5 xwininfo -id "$id" 2>/dev/null | awk '/Width:/ {w = $2} /Height:/ {h = $2} END {print w "x" h}'
}

# e2e_settles_at SIZE WHAT: waits up to 3 s for the game's window to take
# that size.
e2e_settles_at() {
    local now=""
    for _ in $(seq 30); do
        now="$(e2e_window_size "$(e2e_find_window)")"
        [ "$now" = "$1" ] && break
        sleep 0.1
    done
    e2e_check "$2: the window is $1 (it is $now)" [ "$now" = "$1" ]
}

# e2e_wait_steady LOOKUP [ARGUMENTS...]: waits, while the game runs, until
# the lookup (e2e_find_window or e2e_new_window) has found the same window
# E2E_STEADY_SAME times in a row; WINDOW is then what it found and the status 0.
e2e_wait_steady() {
    local seen="" same=0
    WINDOW=""
    for _ in $(seq "$E2E_STEADY_TENTHS"); do
        e2e_game_alive || break
        WINDOW="$("$@")"
        if [ -n "$WINDOW" ] && [ "$WINDOW" = "$seen" ]; then
            same=$((same + 1))
            [ "$same" -ge "$E2E_STEADY_SAME" ] && return 0
        else
            same=0
        fi
        seen="$WINDOW"
        sleep 0.1
    done
    WINDOW=""
    return 1
}

# How the game starts is the one thing the Windows scripts change
# (tests/windows/wine_lib.bash): e2e_launch EXE [ARGUMENTS...] runs it in the
# background with its output in $E2E_TMP, and its window counts as steady
# once found the same E2E_STEADY_SAME times in a row within
# E2E_STEADY_TENTHS tenths of a second. E2E_SETTLE is how long the window
# takes to answer a click or a drop, E2E_TITLE_SETTLE how long a game just
# started takes to show its title. Here: the native game, its sound in
# $E2E_TMP/audio.raw and its settings in $E2E_TMP/config.
E2E_STEADY_TENTHS=100
E2E_STEADY_SAME=3
# shellcheck disable=SC2034 # both read by the scenario libraries
{
    E2E_SETTLE=0.5
    E2E_TITLE_SETTLE=1
}
e2e_launch() { e2e_launch_native "$@"; }
e2e_launch_native() {
    local exe="$1"
    shift
    "${E2E_WRAPPER[@]}" env SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$E2E_TMP/audio.raw" \
        XDG_CONFIG_HOME="$E2E_TMP/config" "$exe" "$@" \
        >"$E2E_TMP/game.stdout" 2>"$E2E_TMP/game.stderr" &
    GAME_PID=$!
    E2E_PIDS+=("$GAME_PID")
}

# e2e_game_path FILE: the name the game gives that file in its messages.
e2e_game_path() { printf '%s' "$1"; }

# e2e_start_game EXE [ARGUMENTS...]: the game started, its window settled and
# given the keyboard.
e2e_start_game() {
    e2e_launch "$@"
    e2e_wait_steady e2e_find_window ||
        e2e_die "no steady visible window of the game within $((E2E_STEADY_TENTHS / 10)) s"
    GAME_WID="$WINDOW"
    e2e_log "game pid $GAME_PID, window $GAME_WID"
    e2e_focus
}

# e2e_start_playing KORDAVAN [ARGUMENTS...]: starts the game, presses Space
# on the title and waits out the loading sequence (about 11.7 s), so that the
# game is being played.
e2e_start_playing() {
    e2e_start_game "$@"
    sleep 1
    e2e_hold space 0.25
    sleep 13
    e2e_game_alive || e2e_die "the game ended by itself"
}

e2e_focus() {
    GAME_WID="$(e2e_find_window)"
    [ -n "$GAME_WID" ] || return 0
    timeout 5 xdotool windowfocus --sync "$GAME_WID" >/dev/null 2>&1 ||
        timeout 5 xdotool windowfocus "$GAME_WID" >/dev/null 2>&1 || true
}

# Alive means running: a process that has ended but not yet been waited for
# still answers kill -0.
e2e_game_alive() {
    local state
    state="$(awk '{print $3}' "/proc/$GAME_PID/stat" 2>/dev/null || true)"
    [ -n "$state" ] && [ "$state" != Z ]
}

# e2e_hold KEY SECONDS: presses a key through the XTEST extension, as a real
# keyboard would, holds it and lets it go. The game reads the keyboard state
# once per frame, so a press must last at least a few frames.
e2e_hold() {
    e2e_focus
    timeout 5 xdotool keydown "$1"
    sleep "$2"
    timeout 5 xdotool keyup "$1"
}

# e2e_wait_game_recorded FILE: true once the recording in FILE holds a
# game's first line, which the recorder writes at the game's first step: the
# loading sequence is over, however long a busy machine took for it (30 s at
# most).
e2e_wait_game_recorded() {
    local _
    for _ in $(seq 300); do
        grep -q '^game ' "$1" 2>/dev/null && return 0
        sleep 0.1
    done
    return 1
}

# e2e_recordings FOLDER: the recordings the game made in FOLDER, in the
# order they were made.
e2e_recordings() {
    find "$1" -maxdepth 1 -type f -name 'Kordavan ????-??-?? ??-??-??*.replay' 2>/dev/null | sort
}

# e2e_tap KEY...: each key pressed and let go in turn, as a player types.
e2e_tap() {
    local key
    for key in "$@"; do
        e2e_hold "$key" 0.12
        sleep 0.12
    done
}

# e2e_settings_panel NAME: the settings screen's dark panel is where the
# screen puts it, in the 640x480 shot NAME.
e2e_settings_panel() {
    python3 - "$E2E_TMP/$1.rgb" <<'PY'
import sys
data = open(sys.argv[1], "rb").read()
def at(x, y):
    i = (y * 640 + x) * 3
    return data[i], data[i + 1], data[i + 2]
panel = (8, 16, 33)
spots = [(602, 300), (36, 200), (320, 340)]
ok = all(all(abs(a - b) <= 6 for a, b in zip(at(x, y), panel)) for x, y in spots)
print("panel colour at", spots, [at(x, y) for x, y in spots])
sys.exit(0 if ok else 1)
PY
}

# e2e_check_replay_plays TITLE STEPS: a replay of STEPS steps just handed to
# the game on the title (the shot TITLE) shows the game, not the title, and
# moves; the recording's own Escape ends it, not the program. Leaves the
# shot after it in "after".
e2e_check_replay_plays() {
    sleep 1
    e2e_shot watching1
    sleep 0.5
    e2e_shot watching2
    e2e_check "the dropped replay shows the game, not the title" \
        e2e_image changed "$E2E_TMP/$1.rgb" "$E2E_TMP/watching1.rgb" 0 0 310 480 0.05
    e2e_check "the replayed game moves" \
        e2e_image changed "$E2E_TMP/watching1.rgb" "$E2E_TMP/watching2.rgb" 0 0 640 480 0.01
    sleep $(($2 / 60 + 2))
    e2e_check "the game outlives the replay's Escape" e2e_game_alive
    e2e_shot after
}

# e2e_shot NAME: the whole X screen as raw RGB bytes in $E2E_TMP/NAME.rgb.
e2e_shot() {
    timeout 20 import -window root -depth 8 "rgb:$E2E_TMP/$1.rgb"
}

# e2e_image ARGS...: the picture checks of image.py on this screen's size.
e2e_image() {
    local command="$1"
    shift
    python3 "$E2E_DIR/image.py" "$command" "$SCREEN_W" "$SCREEN_H" "$@"
}

# e2e_wait_exit SECONDS: polls until the game has ended; GAME_EXIT is its
# exit code, or empty while it still runs.
e2e_wait_exit() {
    local tenths=$(($1 * 10))
    GAME_EXIT=""
    for _ in $(seq "$tenths"); do
        if ! e2e_game_alive; then
            local status=0
            wait "$GAME_PID" || status=$?
            GAME_EXIT="$status"
            return 0
        fi
        sleep 0.1
    done
    return 1
}

# e2e_check_ends SECONDS WHAT: WHAT (a key, a signal, a box dismissed) has
# ended the game within SECONDS, with exit code 0.
e2e_check_ends() {
    if e2e_wait_exit "$1"; then
        e2e_check "$2 ends the game with 0 (got $GAME_EXIT)" [ "$GAME_EXIT" = 0 ]
    else
        e2e_fail "the game still runs $1 s after $2"
    fi
}

# e2e_audio_bytes: the size of the sound written so far.
e2e_audio_bytes() { stat -c %s "$E2E_TMP/audio.raw" 2>/dev/null || echo 0; }

# e2e_press_ok HOW "ID X Y WIDTH HEIGHT": presses OK on a message box as a
# player would: Return with the box focused, or a click on the button, which
# is found on the screen by its colour.
e2e_press_ok() {
    local how="$1" id x y w h at
    read -r id x y w h <<<"$2"
    case "$how" in
    Return)
        timeout 5 xdotool windowfocus --sync "$id" >/dev/null 2>&1 ||
            timeout 5 xdotool windowfocus "$id" >/dev/null 2>&1 || true
        timeout 5 xdotool keydown Return
        sleep 0.15
        timeout 5 xdotool keyup Return
        ;;
    click)
        e2e_shot box
        if ! at="$(python3 "$E2E_DIR/message_box.py" "$E2E_TMP/box.rgb" "$SCREEN_W" "$SCREEN_H" \
            "$x" "$y" "$w" "$h")"; then
            e2e_fail "no OK button on the message box"
            return 0
        fi
        e2e_log "OK is at $at"
        # shellcheck disable=SC2086
        timeout 5 xdotool mousemove --sync $at
        timeout 5 xdotool mousedown 1
        sleep 0.15
        timeout 5 xdotool mouseup 1
        ;;
    esac
}
