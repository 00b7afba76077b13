#!/usr/bin/env bash
# The NSIS installer under Wine, silently: it puts the game, its README and
# copyright file (both with Windows line ends, the README with every key and
# option the game's help names), the Start menu entries (one of them without
# sound) and the uninstaller in place, lists the game with its size and
# folder, and the uninstaller takes them all away again.
#
#   bash tests/windows/installer.sh BUILD-DIR path/to/setup.exe
set -uo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/wine_lib.bash"
build="$(cd "$1" && pwd)"
setup="$(realpath "$2")"
wine_prefix "$build" || exit 1
folder="$WINEPREFIX/drive_c/Kordavan-installer-test"
menu="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Kordavan.lnk"
silent_menu="${menu%.lnk} (no sound).lnk"
rm -rf "$folder"
failed=0
test_not() { ! "$@"; }
check() {
    local what="$1"
    shift
    if "$@"; then echo "ok: $what"; else echo "FAIL: $what"; failed=1; fi
}

# NSIS wants /D last and unquoted.
wine "$setup" /S '/D=C:\Kordavan-installer-test'
wineserver --wait
check "the installer puts kordavan.exe, README.txt and copyright.txt in place" \
    test -f "$folder/kordavan.exe" -a -f "$folder/README.txt" -a -f "$folder/copyright.txt"
check "the installed game is the one built" cmp -s "$folder/kordavan.exe" "$build/kordavan.exe"
check "the Start menu has its entry" test -f "$menu"
# A shortcut keeps its arguments in UTF-16.
has_utf16() { python3 -c 'import sys; sys.exit(sys.argv[2].encode("utf-16-le") not in open(sys.argv[1], "rb").read())' "$@"; }
check "and one that starts the game with --no-sound" has_utf16 "$silent_menu" --no-sound
# Every line ends in CR LF: no line feed without its carriage return.
crlf() { [ -s "$1" ] && ! tr -d '\r' <"$1" | cmp -s - "$1" && [ "$(grep -c $'\r$' "$1")" = "$(grep -c '' "$1")" ]; }
check "README.txt has Windows line ends" crlf "$folder/README.txt"
check "copyright.txt has Windows line ends" crlf "$folder/copyright.txt"
for word in F11 F12 Escape --no-sound --record --replay --help key-left pad-land Gamepad \
    "US keyboard" kordavan.log; do
    check "README.txt names $word" grep -qF -- "$word" "$folder/README.txt"
done
check "the uninstaller is there" test -f "$folder/uninstall.exe"
# The machine's registry as Wine keeps it on disk, written out once the
# server is idle.
listed() { grep -q '^\[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Uninstall\\\\Kordavan\]' "$WINEPREFIX/system.reg"; }
check "Windows lists the game under its installed apps" listed
entry() {
    sed -n '/^\[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Uninstall\\\\Kordavan\]/,/^$/p' \
        "$WINEPREFIX/system.reg"
}
location_kept() { entry | grep -qF '"InstallLocation"="C:\\Kordavan-installer-test"'; }
check "with the folder it is installed in" location_kept
# Its size in KiB, at least the .exe's own.
size_given() {
    local kib
    kib="$(entry | sed -n 's/^"EstimatedSize"=dword:\([0-9a-f]*\)$/\1/p')"
    [ -n "$kib" ] && [ $((16#$kib)) -ge $(($(stat -c %s "$build/kordavan.exe") / 1024)) ]
}
check "and its size" size_given

# The uninstaller copies itself away and runs from there; _?= keeps it in place
# so that the test can wait for it.
wine "$folder/uninstall.exe" /S '_?=C:\Kordavan-installer-test'
wineserver --wait
check "the uninstaller removes the game and its entry" \
    test ! -e "$folder/kordavan.exe" -a ! -e "$menu" -a ! -e "$silent_menu"
check "and the apps list no longer has it" test_not listed
rm -rf "$folder"
exit "$failed"
