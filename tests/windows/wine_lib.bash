# Wine for the tests of the Windows build: a prefix of its own in the build
# folder, quiet, without the .NET and browser engines a game does not need.
#
#   source tests/windows/wine_lib.bash
#   wine_prefix BUILD-DIR    # exports WINEPREFIX and friends, makes the prefix once

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
