# The pointer test window (pointer_main.cpp) clicked and dropped onto, for
# the native window and under Wine alike: it writes "shown" once its first
# frame is up, "press X Y" for each press on the picture and "drop PATH" for
# each file dropped. Sourced after lib.bash (and wine_lib.bash under Wine),
# with $pointer the window's program.

# pointer_start [ARGUMENTS...]: the window up and its first frame shown.
pointer_start() {
    # shellcheck disable=SC2154 # pointer: set by the script that sources this
    e2e_start_game "$pointer" "$@"
    for _ in $(seq "$E2E_STEADY_TENTHS"); do
        grep -q '^shown' "$E2E_TMP/game.stdout" && break
        e2e_game_alive || break
        sleep 0.1
    done
    grep -q '^shown' "$E2E_TMP/game.stdout" || e2e_die "no frame shown with $*"
    sleep 0.3
}

pointer_stop() {
    kill -TERM "$GAME_PID" 2>/dev/null || true
    e2e_wait_exit 5 || kill -KILL "$GAME_PID" 2>/dev/null || true
}

# pointer_mark: remembers how much the window has reported; pointer_reported
# KIND: the lines of that kind since, ';' between. (The file is not emptied:
# the program goes on writing where it was; Windows ends its lines with CR.)
pointer_mark() { POINTER_SEEN="$(wc -l <"$E2E_TMP/game.stdout")"; }
pointer_reported() {
    tail -n +"$((POINTER_SEEN + 1))" "$E2E_TMP/game.stdout" | tr -d '\r' | sed -n "s/^$1 //p" |
        paste -sd ';'
}

# pointer_clicks EXPECTED X,Y...: clicks at each place in the window, then
# checks the presses reported, in order, against EXPECTED ("x y;x y;..." or
# empty).
pointer_clicks() {
    local expected="$1" place got
    shift
    pointer_mark
    for place in "$@"; do
        timeout 5 xdotool mousemove --window "$GAME_WID" --sync "${place%,*}" "${place#*,}"
        timeout 5 xdotool click 1
    done
    sleep "$E2E_SETTLE"
    got="$(pointer_reported press)"
    e2e_check "clicks at $* land on '$expected' (got '$got')" [ "$got" = "$expected" ]
}

# pointer_drop_files: two empty replays to drop, DROP_PLAIN and DROP_ODD, the
# second with a space and letters beyond ASCII in its path.
pointer_drop_files() {
    mkdir -p "$E2E_TMP/with space"
    DROP_PLAIN="$E2E_TMP/first.replay"
    DROP_ODD="$E2E_TMP/with space/Küstenflug ✈ 2.replay"
    : >"$DROP_PLAIN"
    : >"$DROP_ODD"
}

# pointer_check_drop HOW EXPECTED COMMAND...: the command drops files onto
# the window (HOW says by what means); the window reports them as EXPECTED
# ("path;path"), whole and in order, and no press.
pointer_check_drop() {
    local how="$1" expected="$2" got
    shift 2
    pointer_mark
    if "$@" 2>"$E2E_TMP/drop.stderr"; then
        e2e_pass "the window takes $how"
    else
        e2e_fail "the window did not take $how: $(cat "$E2E_TMP/drop.stderr")"
    fi
    sleep "$E2E_SETTLE"
    got="$(pointer_reported drop)"
    e2e_check "$how: the paths arrive whole, in order (got '$got')" [ "$got" = "$expected" ]
    e2e_check "$how is no press" [ -z "$(pointer_reported press)" ]
}
