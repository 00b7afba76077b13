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

# Under Wine only the start differs from the native scripts: e2e_launch runs
# a .exe through wine (any other program as natively), E2E_WRAPPER the words
# before it (an environment), and Wine is given 30 s to show a steady
# window and longer to answer.
# shellcheck disable=SC2034 # all read by tests/e2e/lib.bash and its scenario libraries
{
    E2E_STEADY_TENTHS=300
    E2E_STEADY_SAME=5
    E2E_SETTLE=0.7
    E2E_TITLE_SETTLE=1.5
}
e2e_launch() {
    case "$1" in
    *.exe) ;;
    *)
        e2e_launch_native "$@"
        return
        ;;
    esac
    local exe="$1"
    shift
    "${E2E_WRAPPER[@]}" wine "$exe" "$@" >"$E2E_TMP/game.stdout" 2>"$E2E_TMP/game.stderr" &
    GAME_PID=$!
    E2E_PIDS+=("$GAME_PID")
}

# wine_start_game ENV-WORDS... -- ARGUMENTS...: $exe under Wine with those
# environment words, its window settled and given the keyboard.
wine_start_game() {
    local prefix=()
    while [ "$1" != "--" ]; do prefix+=("$1"); shift; done
    shift
    E2E_WRAPPER=("${prefix[@]}")
    # shellcheck disable=SC2154 # exe: the game, set by the script that sources this
    e2e_start_game "$exe" "$@"
    E2E_WRAPPER=()
}

# wine_path PATH: the Windows name of a file of this machine, which is also
# how the game names it.
wine_path() { printf 'Z:%s' "${1//\//\\}"; }
e2e_game_path() { wine_path "$1"; }

# wine_x_dropper: the drag source of the X desktops (tests/e2e/xdnd_drop.cpp),
# built for this machine into $E2E_TMP; prints its path, or fails where no
# compiler or X library is at hand.
wine_x_dropper() {
    command -v c++ >/dev/null 2>&1 &&
        c++ -std=c++20 -O1 -o "$E2E_TMP/xdnd-drop" "$E2E_DIR/xdnd_drop.cpp" -lX11 \
            2>"$E2E_TMP/xdnd-build.log" &&
        echo "$E2E_TMP/xdnd-drop"
}
