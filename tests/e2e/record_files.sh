#!/usr/bin/env bash
# --record never costs the player a file, in the real window: a name already
# taken (a document, a link planted to another file) is refused with exit 2
# before any window opens and keeps every byte; a run that never leaves the
# title leaves no file; a pipe whose reader stops reading ends the recording
# with one line and the game goes on, Escape still quitting it. A missing
# replay says why it cannot be read.
#
#   bash tests/e2e/record_files.sh path/to/kordavan
set -euo pipefail
source "$(dirname "$0")/lib.bash"
[ $# -eq 1 ] && [ -x "$1" ] || {
    echo "usage: $0 path/to/kordavan" >&2
    exit 2
}
kordavan="$(realpath "$1")"

e2e_begin record_files 150
e2e_xvfb 640x480
export HOME="$E2E_TMP/home"
mkdir -p "$HOME" "$E2E_TMP/config/kordavan"

# ---------------------------------------------------------------- taken names
printf 'my thesis\n' >"$E2E_TMP/thesis.txt"
ln -s "$E2E_TMP/thesis.txt" "$E2E_TMP/planted.replay"
for name in thesis.txt planted.replay; do
    e2e_mark_windows
    status=0
    XDG_CONFIG_HOME="$E2E_TMP/config" timeout 20 "$kordavan" --window --record "$E2E_TMP/$name" \
        >/dev/null 2>"$E2E_TMP/taken.stderr" || status=$?
    e2e_check "--record $name is refused with exit 2" [ "$status" = 2 ]
    e2e_check "the refusal says the name is taken" \
        grep -q "cannot create the replay $E2E_TMP/$name: a file of that name is there already" \
        "$E2E_TMP/taken.stderr"
    e2e_check "no window opened for $name" [ -z "$(e2e_new_window)" ]
    e2e_check "the file $name pointed at keeps every byte" \
        [ "$(cat "$E2E_TMP/thesis.txt")" = "my thesis" ]
done

# ---------------------------------------------------------------- a missing replay
status=0
XDG_CONFIG_HOME="$E2E_TMP/config" timeout 20 "$kordavan" --window --replay "$E2E_TMP/none.replay" \
    >/dev/null 2>"$E2E_TMP/missing.stderr" || status=$?
e2e_check "a missing replay is refused with exit 2" [ "$status" = 2 ]
e2e_check "and the reason is said" \
    grep -q "none.replay: cannot be read: No such file or directory" "$E2E_TMP/missing.stderr"

# ---------------------------------------------------------------- title only
e2e_start_game "$kordavan" --window --record "$E2E_TMP/title.replay"
sleep 1
e2e_check "nothing is written before a game begins" [ ! -s "$E2E_TMP/title.replay" ]
e2e_hold Escape 0.2
e2e_wait_exit 10 || e2e_die "Escape did not end the game on the title"
e2e_check "the game quit from the title ends with 0" [ "$GAME_EXIT" = 0 ]
e2e_check "a run that never left the title leaves no file" [ ! -e "$E2E_TMP/title.replay" ]

# ---------------------------------------------------------------- a stuck pipe
pipe="$E2E_TMP/stuck.replay"
mkfifo "$pipe"
# A reader that opens the pipe, makes it as small as the system allows and
# never reads from it.
python3 -c '
import fcntl, os, sys, time
descriptor = os.open(sys.argv[1], os.O_RDONLY | os.O_NONBLOCK)
fcntl.fcntl(descriptor, 1031, 4096)  # F_SETPIPE_SZ
open(sys.argv[2], "w").close()
time.sleep(600)
' "$pipe" "$E2E_TMP/reader-ready" &
E2E_PIDS+=($!)
for _ in $(seq 100); do
    [ -e "$E2E_TMP/reader-ready" ] && break
    sleep 0.1
done
e2e_start_playing "$kordavan" --window --record "$pipe"
# Some 700 steps of LEFT fill the pipe.
for _ in $(seq 40); do
    grep -q "does not keep up" "$E2E_TMP/game.stderr" && break
    e2e_hold Left 0.5
done
e2e_check "the stuck pipe ends the recording with one line" \
    [ "$(grep -c "cannot write the replay $pipe: its reader does not keep up; recording stops" \
        "$E2E_TMP/game.stderr")" = 1 ]
e2e_check "the game goes on" e2e_game_alive
e2e_shot before
e2e_hold Right 1
e2e_shot after
e2e_check "the game still moves" \
    e2e_image changed "$E2E_TMP/before.rgb" "$E2E_TMP/after.rgb" 0 0 640 480 0.001
e2e_hold Escape 0.2
e2e_wait_exit 10 || e2e_die "Escape did not end the game after the pipe got stuck"
e2e_check "the game ends with 0" [ "$GAME_EXIT" = 0 ]
e2e_summary
