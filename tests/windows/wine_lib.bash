# Wine for the tests of the Windows build: a prefix of its own in the build
# folder, quiet, without the .NET and browser engines a game does not need.
#
#   source tests/windows/wine_lib.bash
#   wine_prefix BUILD-DIR    # exports WINEPREFIX and friends, makes the prefix once
#
# With tests/e2e/lib.bash sourced first, the game's own tests also start
# $exe under Wine and give its sound a file to go to.

wine_prefix() {
    export WINEPREFIX="$1/wineprefix"
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
    export WINEARCH=win64
    if [ -f "$WINEPREFIX/.kordavan-ready" ]; then
        return 0
    fi
    local lock="$1/wineprefix.lock"
    (
        # One maker at a time; a second test waits and then finds it ready.
        flock 9
        if [ -f "$WINEPREFIX/.kordavan-ready" ]; then
            exit 0
        fi
        rm -rf "$WINEPREFIX"
        if ! DISPLAY= wineboot --init >/dev/null 2>&1; then
            echo "wine_lib.bash: wineboot could not make the prefix $WINEPREFIX" >&2
            exit 1
        fi
        wineserver --wait
        touch "$WINEPREFIX/.kordavan-ready"
    ) 9>"$lock"
}

# wine_sound_to_file: an ALSA configuration, $E2E_TMP/asound.conf, whose
# default device writes what Wine plays into $E2E_TMP/audio.raw, as a real
# card would play it (ALSA_CONFIG_PATH names it to Wine).
wine_sound_to_file() {
    cat >"$E2E_TMP/asound.conf" <<CONF
pcm.!default {
    type file
    slave.pcm "null"
    file "$E2E_TMP/audio.raw"
    format "raw"
}
CONF
}

# wine_start_game ENV-WORDS... -- ARGUMENTS...: the game under Wine, its
# window settled and given the keyboard.
wine_start_game() {
    local prefix=()
    while [ "$1" != "--" ]; do prefix+=("$1"); shift; done
    shift
    # shellcheck disable=SC2154 # exe: the game, set by the script that sources this
    "${prefix[@]}" wine "$exe" "$@" >"$E2E_TMP/game.stdout" 2>"$E2E_TMP/game.stderr" &
    GAME_PID=$!
    E2E_PIDS+=("$GAME_PID")
    local seen="" same=0
    GAME_WID=""
    for _ in $(seq 300); do
        e2e_game_alive || break
        GAME_WID="$(e2e_find_window)"
        if [ -n "$GAME_WID" ] && [ "$GAME_WID" = "$seen" ]; then
            same=$((same + 1))
            [ "$same" -ge 5 ] && break
        else
            same=0
        fi
        seen="$GAME_WID"
        sleep 0.1
    done
    [ "$same" -ge 5 ] || e2e_die "no steady window named Kordavan within 30 s"
    e2e_log "game pid $GAME_PID, window $GAME_WID"
    e2e_focus
}
