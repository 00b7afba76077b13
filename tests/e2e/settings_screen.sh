#!/usr/bin/env bash
# The settings screen in a real window: O opens it over the title, the
# volume and a key are changed with real key presses, Escape closes it, the
# settings file has just those two lines changed, and a game started again
# shows them on its screen.
#
#   bash tests/e2e/settings_screen.sh path/to/kordavan
set -euo pipefail
source "$(dirname "$0")/lib.bash"
[ $# -eq 1 ] && [ -x "$1" ] || { echo "usage: $0 path/to/kordavan" >&2; exit 2; }
kordavan="$(realpath "$1")"

e2e_begin settings_screen 150
e2e_xvfb 640x480
conf="$E2E_TMP/config/kordavan/kordavan.conf"
mkdir -p "$(dirname "$conf")"
printf '# my own settings\nvolume = 100\nfuture-thing = 7\n' >"$conf"
cp "$conf" "$E2E_TMP/before.conf"

# same_rows A B: the rows of the two shots read alike (the frame under the
# panel and the line of news below the rows may differ).
same_rows() {
    e2e_check_not "$3" e2e_image changed "$E2E_TMP/$1.rgb" "$E2E_TMP/$2.rgb" 44 66 596 330 0.001
}

e2e_start_game "$kordavan"
sleep 1
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

printf '# my own settings\nvolume = 90\nfuture-thing = 7\nkey-land = K\n' >"$E2E_TMP/expected.conf"
if cmp -s "$conf" "$E2E_TMP/expected.conf"; then
    e2e_pass "the settings file has just the volume and the key changed"
else
    e2e_fail "the settings file is not as expected:"
    diff "$E2E_TMP/expected.conf" "$conf" || true
fi

e2e_tap Escape
e2e_wait_exit 5 || e2e_die "the game did not end after Escape on the title"
e2e_check "Escape on the title ends the game with 0 (got $GAME_EXIT)" [ "$GAME_EXIT" = 0 ]

# Again: the screen shows what was kept.
e2e_start_game "$kordavan"
sleep 1
e2e_tap o Down Down Down
sleep 0.2
e2e_shot again90
same_rows volume90 again90 "the volume kept shows as it was left"
e2e_tap Down Down Down Return Down Down Down Down
sleep 0.2
e2e_shot againK
same_rows landK againK "the key kept shows as it was left"
e2e_tap Escape Escape
sleep 0.5
e2e_shot againClosed
e2e_check_not "Escape, Escape closes the screen again" e2e_settings_panel againClosed
e2e_check "nothing was saved by looking" cmp -s "$conf" "$E2E_TMP/expected.conf"

e2e_tap Escape
e2e_check_ends 5 "Escape"
e2e_show_stderr
e2e_summary
