# The game's extras played with real key presses, each scenario written once
# for the native game and for kordavan.exe under Wine: only how the game
# starts differs (e2e_launch; tests/windows/wine_lib.bash changes it), and
# the calling script says where the settings live. Sourced after lib.bash
# (and wine_lib.bash), on a private 640x480 screen, the game full screen.
#
# Set by the script: E2E_CONF, the settings file; E2E_EOL, the line end
# that file is written with; E2E_TITLE_BMP, the title picture (151.bmp), if
# the title is to be compared with it pixel for pixel.

# scenario_title_is SHOT: the shot is the title picture, pixel for pixel (the
# scrolling credits aside).
scenario_title_is() {
    python3 "$E2E_DIR/exact.py" title "$E2E_TMP/$1.rgb" "$E2E_TITLE_BMP"
}

# scenario_title_back SHOT WHAT: the title shows again in the shot, the same
# as the first shot "title", and pixel for pixel where the picture is known.
scenario_title_back() {
    e2e_check_not "$2" e2e_image changed "$E2E_TMP/title.rgb" "$E2E_TMP/$1.rgb" 0 0 310 480 0.01
    if [ -n "${E2E_TITLE_BMP:-}" ]; then
        e2e_check "$2, pixel for pixel" scenario_title_is "$1"
    fi
}

# scenario_same_rows A B WHAT: the settings rows of the two shots read alike
# (the frame under the panel and the line of news below the rows may differ).
scenario_same_rows() {
    e2e_check_not "$3" e2e_image changed "$E2E_TMP/$1.rgb" "$E2E_TMP/$2.rgb" 44 66 596 330 0.001
}

# scenario_wait_recording FOLDER: true once the game's first recording in
# FOLDER holds a game's first line, written at the game's first step (30 s
# at most: the loading sequence takes as long as a busy machine makes it).
scenario_wait_recording() {
    local first
    for _ in $(seq 300); do
        first="$(e2e_recordings "$1" | head -n 1)"
        [ -n "$first" ] && grep -q '^game ' "$first" && return 0
        sleep 0.1
    done
    return 1
}

# scenario_settings_over_pause: in play, P pauses, O opens the settings
# screen over the pause and Escape closes it; the paused frame comes back
# and stays until P goes on.
scenario_settings_over_pause() {
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
}

# scenario_recorded_game EXE FOLDER PLAY-BACK [IN-PLAY...]: with record-games =
# yes in the settings, a game played (Left, the command IN-PLAY if given, Up)
# and quit leaves one recording in FOLDER, which the command PLAY-BACK FILE
# plays back headless to the end the window saw, its trace on standard
# output. RECORDING is the file, RECORDED_STEPS its steps.
scenario_recorded_game() {
    local exe="$1" folder="$2" playback="$3" files status
    shift 3
    cp "$E2E_CONF" "$E2E_TMP/before-game.conf"
    e2e_start_game "$exe"
    sleep "$E2E_TITLE_SETTLE"
    e2e_shot title
    [ -z "${E2E_TITLE_BMP:-}" ] || e2e_check "the title shows, pixel for pixel" scenario_title_is title
    e2e_hold space 0.25
    scenario_wait_recording "$folder" || e2e_die "no recording began within 30 s of Space"
    e2e_hold Left 1
    [ $# -eq 0 ] || "$@"
    e2e_hold Up 0.4
    e2e_tap Escape
    e2e_check_ends 10 "Escape in play"
    e2e_check_not "the game said nothing on standard error" grep -q '^kordavan' "$E2E_TMP/game.stderr"
    e2e_check "looking at the screen changed no setting" cmp -s "$E2E_CONF" "$E2E_TMP/before-game.conf"

    mapfile -t files < <(e2e_recordings "$folder")
    e2e_check "one recording in the folder" [ "${#files[@]}" = 1 ]
    [ "${#files[@]}" = 1 ] || e2e_die "no recording to go on with"
    RECORDING="${files[0]}"
    e2e_log "recorded: $(basename "$RECORDING"), $(wc -l <"$RECORDING") lines"
    e2e_check "it holds a game that was quit" grep -q '^end quit ' "$RECORDING"
    e2e_check "the flight went left" grep -q 'LEFT' "$RECORDING"
    status=0
    "$playback" "$RECORDING" >"$E2E_TMP/trace.out" 2>"$E2E_TMP/trace.err" || status=$?
    e2e_check "the trace tool plays the recording back as it went (exit $status)" [ "$status" = 0 ]
    [ "$status" = 0 ] || sed -n '1,10p' "$E2E_TMP/trace.err"
    RECORDED_STEPS="$(grep -c '' "$E2E_TMP/trace.out" || true)"
    e2e_check "and steps through it ($RECORDED_STEPS steps)" [ "$RECORDED_STEPS" -gt 60 ]
}

# scenario_settings_change EXE: on the title O opens the settings screen,
# Left turns the volume down, Land is bound to K on the keys page, Escape
# twice closes the screen and the title is back; the settings file has just
# those two lines changed, its own lines and line ends kept. The game stays
# on the title; $E2E_TMP/expected.conf is the file as it must stay.
scenario_settings_change() {
    cp "$E2E_CONF" "$E2E_TMP/before.conf"
    e2e_start_game "$1"
    sleep "$E2E_TITLE_SETTLE"
    e2e_shot title
    e2e_tap o
    sleep 0.3
    e2e_shot opened
    e2e_check "O opens the screen over the title" \
        e2e_image changed "$E2E_TMP/title.rgb" "$E2E_TMP/opened.rgb" 32 16 608 464 0.3
    e2e_check "the screen's panel shows" e2e_settings_panel opened

    e2e_tap Down Down Down
    e2e_shot volume100
    e2e_tap Left
    sleep 0.2
    e2e_shot volume90
    e2e_check "Left changes the volume on screen" \
        e2e_image changed "$E2E_TMP/volume100.rgb" "$E2E_TMP/volume90.rgb" 44 66 596 330 0.0005

    e2e_tap Down Down Down Return Down Down Down Down Return k
    sleep 0.2
    e2e_shot landK
    e2e_tap Escape
    sleep 0.2
    e2e_check "Escape on the keys page stays on the screen" e2e_settings_panel landK
    e2e_tap Escape
    sleep 0.5
    e2e_shot closed
    e2e_check_not "the second Escape closes the screen" e2e_settings_panel closed
    e2e_check "the title is back" e2e_image varied "$E2E_TMP/closed.rgb" 0 0 640 480 64
    scenario_title_back closed "the title is back as it was"

    {
        sed 's/^volume = 100/volume = 90/' "$E2E_TMP/before.conf"
        printf 'key-land = K%s' "$E2E_EOL"
    } >"$E2E_TMP/expected.conf"
    if cmp -s "$E2E_CONF" "$E2E_TMP/expected.conf"; then
        e2e_pass "the settings file has just the volume and the key changed, its line ends kept"
    else
        e2e_fail "the settings file is not as expected:"
        diff "$E2E_TMP/expected.conf" "$E2E_CONF" | cat -A || true
    fi
}

# scenario_settings_kept: the game started again after
# scenario_settings_change, on the title: its settings screen shows the
# volume and the key as they were left, and looking saves nothing.
scenario_settings_kept() {
    e2e_tap o Down Down Down
    sleep 0.2
    e2e_shot again90
    scenario_same_rows volume90 again90 "the volume kept shows as it was left"
    e2e_tap Down Down Down Return Down Down Down Down
    sleep 0.2
    e2e_shot againK
    scenario_same_rows landK againK "the key kept shows as it was left"
    e2e_tap Escape Escape
    sleep 0.5
    e2e_shot againClosed
    e2e_check_not "Escape, Escape closes the screen again" e2e_settings_panel againClosed
    e2e_check "nothing was saved by looking" cmp -s "$E2E_CONF" "$E2E_TMP/expected.conf"
}

# scenario_dropped_replay DROP REPLAY STEPS: on the title, the command DROP
# FILE hands the window a replay of STEPS steps: it plays and gives the
# title back, and watching says nothing.
scenario_dropped_replay() {
    e2e_shot title
    e2e_check "the window takes the dropped replay" "$1" "$2"
    e2e_check_replay_plays title "$3"
    scenario_title_back after "after the replay the title is back"
    e2e_check_not "watching said nothing on standard error" grep -q '^kordavan' "$E2E_TMP/game.stderr"
}

# scenario_dropped_text DROP: on the title, a text file handed to the window
# by the command DROP FILE is named with its line on standard error, in one
# line, as the game names the file (e2e_game_path), and the title stays.
# DROPPED_TEXT is the file.
scenario_dropped_text() {
    DROPPED_TEXT="$E2E_TMP/shopping list.txt"
    printf 'eggs%sflour%s' "$E2E_EOL" "$E2E_EOL" >"$DROPPED_TEXT"
    e2e_check "the window takes the dropped text file" "$1" "$DROPPED_TEXT"
    sleep 1
    e2e_shot refused
    e2e_check "the file is named with its line on standard error" \
        grep -qF "kordavan: $(e2e_game_path "$DROPPED_TEXT"): line 1: " "$E2E_TMP/game.stderr"
    e2e_check "and in one line" [ "$(grep -c '^kordavan' "$E2E_TMP/game.stderr")" = 1 ]
    scenario_title_back refused "the title stays"
}

# scenario_settings_own_keys EXE: with Up and Down, Left and Right swapped in
# the settings file, the arrows still move the screen's cursor once a press
# and Left takes a tenth off the volume, once; Alt+Enter and F11 while a key
# is asked for switch the display and give no key, the next key is given; Restore
# the defaults waits for a second Return. The game ends on the title.
scenario_settings_own_keys() {
    printf 'key-up = Down%skey-down = Up%skey-left = Right%skey-right = Left%s' \
        "$E2E_EOL" "$E2E_EOL" "$E2E_EOL" "$E2E_EOL" >"$E2E_CONF"
    cp "$E2E_CONF" "$E2E_TMP/own.conf"
    e2e_start_game "$1"
    sleep "$E2E_TITLE_SETTLE"
    e2e_tap o Down Down Down Left
    sleep 0.3
    printf 'volume = 90%s' "$E2E_EOL" >>"$E2E_TMP/own.conf"
    e2e_check "the arrows reach the volume and Left turns it down once, keys swapped or not" \
        cmp -s "$E2E_CONF" "$E2E_TMP/own.conf"

    e2e_tap Down Down Down Return Return
    e2e_hold alt+Return 0.2
    sleep 0.5
    e2e_check_not "Alt+Enter while a key is asked for gives no key" grep -q '^key-left = .*Alt' "$E2E_CONF"
    e2e_check "and switches the display" grep -q '^display = window' "$E2E_CONF"
    e2e_hold F11 0.2
    sleep 0.5
    e2e_check "F11 switches it back" grep -q '^display = fullscreen' "$E2E_CONF"
    e2e_check_not "and is not given either" grep -q '^key-left = F11' "$E2E_CONF"
    e2e_tap k
    sleep 0.3
    e2e_check "the next key is given" grep -q '^key-left = K' "$E2E_CONF"

    e2e_tap Escape Down Down Down Down Return
    sleep 0.3
    e2e_check "one Return on Restore the defaults restores nothing" grep -q '^volume = 90' "$E2E_CONF"
    e2e_tap Return
    sleep 0.3
    e2e_check "the second restores the defaults" grep -q '^volume = 100' "$E2E_CONF"
    e2e_check "keys too" grep -q '^key-up = Up' "$E2E_CONF"
    e2e_tap Escape
}
