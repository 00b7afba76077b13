#!/usr/bin/env bash
# The game as a player gets it. Installs the build into a temporary prefix
# with `cmake --install` and checks every installed file with the tool its
# format has (desktop-file-validate, appstreamcli, groff and man, ImageMagick
# for the icons); installs again with DESTDIR and prefix /usr, where the game
# goes to games/; builds the Debian package with CPack, runs lintian on it,
# unpacks it and runs the unpacked game with --version and --help; and starts
# both installed executables on a private X server, where each must show the
# title picture and end with Escape.
#
#   bash tests/install/install.sh BUILD_DIR VERSION APP_ID RELEASE_DATE
#
# KORDAVAN_CMAKE and KORDAVAN_CPACK name the cmake and cpack to use.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/../e2e/lib.bash"
[ $# -eq 4 ] && [ -d "$1" ] || {
    echo "usage: $0 BUILD_DIR VERSION APP_ID RELEASE_DATE" >&2
    exit 2
}
build="$(realpath "$1")"
version="$2"
app_id="$3"
release_date="$4"
cmake="${KORDAVAN_CMAKE:-cmake}"
cpack="${KORDAVAN_CPACK:-cpack}"
source_dir="$(cd "$here/../.." && pwd)"

e2e_begin install 500
# Files and folders get the modes a package should have, whatever the caller's umask.
umask 022

# cmake --install writes the list of what it installed into the build folder,
# and the player uninstalls with it: put back the one that was there, so that
# it never lists this test's files (least of all the /usr paths of the
# DESTDIR install below).
manifest="$build/install_manifest.txt"
if [ -f "$manifest" ]; then cp -p "$manifest" "$E2E_TMP/manifest.saved"; fi
restore_manifest() {
    if [ -f "$E2E_TMP/manifest.saved" ]; then
        cp -p "$E2E_TMP/manifest.saved" "$manifest"
    else
        rm -f "$manifest"
    fi
}
trap 'restore_manifest; e2e_cleanup' EXIT

# check_quiet WHAT COMMAND...: passes when the command succeeds and prints
# nothing at all, which is how the validators say "no error, no warning".
check_quiet() {
    local what="$1"
    shift
    local output status=0
    output="$("$@" 2>&1)" || status=$?
    if [ "$status" -eq 0 ] && [ -z "$output" ]; then
        e2e_pass "$what"
    else
        e2e_fail "$what (exit $status)"
        printf '%s\n' "$output" | sed -n '1,40p'
    fi
}

# The plain text of a man page, for looking words up in it.
# The page as plain words: how groff fills its lines does not matter.
man_text() { zcat -f "$1" | groff -man -Tascii -P-cbou | tr -s '[:space:]' ' '; }

# check_executable EXE WHERE: --version, --help and a refused option.
check_executable() {
    local exe="$1" where="$2" status=0
    e2e_check "$where: the executable is there" [ -x "$exe" ]
    local out
    out="$("$exe" --version)" || status=$?
    e2e_check "$where: --version prints 'kordavan $version' and ends with 0 (got '$out', $status)" \
        [ "$out $status" = "kordavan $version 0" ]
    status=0
    "$exe" --help >"$E2E_TMP/help.txt" || status=$?
    e2e_check "$where: --help ends with 0 (got $status)" [ "$status" = 0 ]
    e2e_check "$where: --help lists the options" grep -q -- '--pause-on-focus-loss' "$E2E_TMP/help.txt"
    e2e_check "$where: --help lists the keys" grep -q 'Alt+Enter' "$E2E_TMP/help.txt"
    status=0
    "$exe" --scale 0 >"$E2E_TMP/bad.out" 2>"$E2E_TMP/bad.err" || status=$?
    e2e_check "$where: a bad value ends with 2 (got $status)" [ "$status" = 2 ]
    e2e_check "$where: a bad value is told on standard error with the hint" \
        grep -qx "Try 'kordavan --help'." "$E2E_TMP/bad.err"
    e2e_check "$where: nothing on standard output for a bad value" [ ! -s "$E2E_TMP/bad.out" ]
}

# check_desktop_entry FILE
check_desktop_entry() {
    local file="$1"
    check_quiet "desktop-file-validate: no error or warning" desktop-file-validate "$file"
    e2e_check "the desktop entry names the icon $app_id" grep -qx "Icon=$app_id" "$file"
    e2e_check "the desktop entry starts kordavan" grep -qx "Exec=kordavan" "$file"
    e2e_check "the desktop entry is an arcade game" grep -qx "Categories=Game;ArcadeGame;" "$file"
    e2e_check "the desktop entry knows the window by its class" \
        grep -qx "StartupWMClass=kordavan" "$file"
    local key
    for key in Name GenericName Comment Keywords; do
        e2e_check "the desktop entry has $key" grep -q "^$key=." "$file"
    done
}

# check_metainfo FILE ROOT: ROOT is the prefix the file was installed under.
check_metainfo() {
    local file="$1" root="$2" output status=0
    output="$(appstreamcli validate --no-net "$file" 2>&1)" || status=$?
    printf '%s\n' "$output" | sed 's/^/    /'
    e2e_check "appstreamcli validate --no-net passes" [ "$status" = 0 ]
    e2e_check_not "appstreamcli reports no error or warning" grep -qE '^(E|W):' <<<"$output"
    status=0
    output="$(appstreamcli validate-tree --no-net "$root" 2>&1)" || status=$?
    e2e_check "appstreamcli validate-tree agrees with the desktop entry and icons" \
        [ "$status" = 0 ]
    e2e_check_not "appstreamcli validate-tree reports no error or warning" \
        grep -qE '^(E|W):' <<<"$output"
    e2e_check "the AppStream id is $app_id" grep -q "<id>$app_id</id>" "$file"
    e2e_check "the AppStream file launches $app_id.desktop" \
        grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$file"
    e2e_check "the AppStream release is $version of $release_date" \
        grep -q "<release version=\"$version\" date=\"$release_date\">" "$file"
    e2e_check "the AppStream file provides the binary kordavan" \
        grep -q "<binary>kordavan</binary>" "$file"
    e2e_check "the AppStream file has a content rating" grep -q '<content_rating type="oars-' "$file"
}

# check_man_page FILE: groff and man without a warning, and every option and
# key of --help in the page.
check_man_page() {
    local page="$1"
    check_quiet "groff -ww -man: no warning" sh -c "zcat -f '$page' | groff -ww -man -Tutf8 -z"
    check_quiet "man -l: no warning" env LC_ALL=C.UTF-8 MANWIDTH=80 \
        sh -c "man --warnings -E UTF-8 -l -Tutf8 -Z '$page' >/dev/null"
    local text
    text="$(man_text "$page")"
    local option
    for option in $(grep -oE '^ +--[a-z-]+' "$E2E_TMP/help.txt"); do
        e2e_check "the man page explains $option" grep -q -- "$option" <<<"$text"
    done
    local word
    for word in Space 'arrow keys' Return Escape F11 Alt+Enter Pause d-pad Start 'Back (Select)' \
        XDG_CONFIG_HOME/kordavan/kordavan.conf SDL_VIDEODRIVER SDL_AUDIODRIVER 'EXIT STATUS'; do
        e2e_check "the man page mentions $word" grep -qF -- "$word" <<<"$text"
    done
    e2e_check "the man page is of kordavan $version, $release_date" \
        grep -q "^\.TH KORDAVAN 6 \"$release_date\" \"kordavan $version\"" <(zcat -f "$page")
}

# check_icons ICONS_DIR: a PNG with transparency of the right size in each folder.
check_icons() {
    local dir="$1" size
    for size in 16 32 48 64 128 256; do
        local icon="$dir/${size}x${size}/apps/$app_id.png"
        local seen
        seen="$(identify -format '%m %w %h %A' "$icon" 2>&1 || true)"
        e2e_check "the ${size}x${size} icon is a ${size}x${size} PNG with alpha (it is '$seen')" \
            [ "$seen" = "PNG $size $size True" ]
        seen="$(convert "$icon" -format '%[fx:p{0,0}.a] %[fx:p{w/2,h/2}.a]' info: 2>&1 || true)"
        e2e_check "the ${size}x${size} icon is a disc: clear corners, solid middle ('$seen')" \
            [ "$seen" = "0 1" ]
    done
}

# ---------------------------------------------------------------- cmake --install
prefix="$E2E_TMP/prefix"
"$cmake" --install "$build" --prefix "$prefix" >"$E2E_TMP/install.log" 2>&1 ||
    { cat "$E2E_TMP/install.log"; e2e_die "cmake --install failed"; }
expected="$(printf '%s\n' bin/kordavan share/applications/"$app_id".desktop \
    share/metainfo/"$app_id".metainfo.xml share/man/man6/kordavan.6 \
    share/doc/kordavan/README.md share/doc/kordavan/copyright share/doc/kordavan/changelog \
    $(cd "$source_dir" && printf 'share/doc/kordavan/%s\n' docs/*.md docs/*.png) \
    share/icons/hicolor/{16x16,32x32,48x48,64x64,128x128,256x256}/apps/"$app_id".png | sort)"
installed="$(cd "$prefix" && find . -type f -printf '%P\n' | sort)"
e2e_check "cmake --install puts exactly the expected files under the prefix" \
    [ "$installed" = "$expected" ]
[ "$installed" = "$expected" ] || diff <(echo "$expected") <(echo "$installed") || true

check_executable "$prefix/bin/kordavan" "installed"
check_desktop_entry "$prefix/share/applications/$app_id.desktop"
check_metainfo "$prefix/share/metainfo/$app_id.metainfo.xml" "$prefix"
check_man_page "$prefix/share/man/man6/kordavan.6"
check_icons "$prefix/share/icons/hicolor"
e2e_check "the README is the project's" cmp -s "$source_dir/README.md" "$prefix/share/doc/kordavan/README.md"
e2e_check "every link of the installed README and its pages leads to an installed file" \
    python3 "$source_dir/tests/docs/links.py" "$prefix/share/doc/kordavan"
e2e_check "the copyright file is machine-readable" \
    grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' \
    "$prefix/share/doc/kordavan/copyright"
changelog="$prefix/share/doc/kordavan/changelog"
e2e_check "the changelog's last entry is version $version" \
    [ "$(dpkg-parsechangelog -l "$changelog" -S Version)" = "$version" ]
e2e_check "the changelog's last entry is of $release_date" \
    [ "$(date -u -d "@$(dpkg-parsechangelog -l "$changelog" -S Timestamp)" +%F)" = "$release_date" ]

# The README's way to uninstall: every file the manifest lists.
xargs -d '\n' rm -f <"$manifest"
e2e_check "the files listed in install_manifest.txt are all there was" \
    [ -z "$(find "$prefix" -type f)" ]
# Put them back for the comparisons with the package below.
"$cmake" --install "$build" --prefix "$prefix" >/dev/null 2>&1

# ---------------------------------------------------------------- prefix /usr
DESTDIR="$E2E_TMP/destdir" "$cmake" --install "$build" --prefix /usr >"$E2E_TMP/destdir.log" 2>&1 ||
    { cat "$E2E_TMP/destdir.log"; e2e_die "cmake --install with DESTDIR failed"; }
e2e_check "with prefix /usr the game goes to /usr/games" [ -x "$E2E_TMP/destdir/usr/games/kordavan" ]
e2e_check_not "with prefix /usr nothing goes to /usr/bin" [ -e "$E2E_TMP/destdir/usr/bin" ]

# ---------------------------------------------------------------- Debian package
arch="$(dpkg --print-architecture)"
deb="$E2E_TMP/package/kordavan_${version}_${arch}.deb"
"$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$E2E_TMP/package" >"$E2E_TMP/cpack.log" 2>&1 ||
    { cat "$E2E_TMP/cpack.log"; e2e_die "cpack -G DEB failed"; }
[ -f "$deb" ] || { ls "$E2E_TMP/package"; e2e_die "no $(basename "$deb")"; }
e2e_pass "cpack made $(basename "$deb") ($(stat -c %s "$deb") bytes)"
field() { dpkg-deb -f "$deb" "$1"; }
e2e_check "the package is kordavan $version" [ "$(field Package) $(field Version)" = "kordavan $version" ]
e2e_check "the package is in section games" [ "$(field Section)" = games ]
e2e_check "the package has a description" [ "$(field Description | wc -l)" -gt 3 ]
depends="$(field Depends)"
e2e_log "Depends: $depends"
e2e_check "dpkg-shlibdeps found SDL" grep -q 'libsdl2-2.0-0 (>= ' <<<"$depends"
e2e_check "dpkg-shlibdeps found libpng" grep -q 'libpng16-16 (>= ' <<<"$depends"
e2e_check "dpkg-shlibdeps found the C library" grep -q 'libc6 (>= ' <<<"$depends"

status=0
lintian --fail-on error,warning --display-info "$deb" >"$E2E_TMP/lintian.txt" 2>&1 || status=$?
grep -v 'running with root privileges' "$E2E_TMP/lintian.txt" | sed 's/^/    /' || true
e2e_check "lintian: no error or warning" [ "$status" = 0 ]

root="$E2E_TMP/unpacked"
dpkg-deb -x "$deb" "$root"
check_executable "$root/usr/games/kordavan" "unpacked package"
e2e_check "the packaged desktop entry is the installed one" \
    cmp -s "$root/usr/share/applications/$app_id.desktop" "$prefix/share/applications/$app_id.desktop"
e2e_check "the packaged AppStream file is the installed one" \
    cmp -s "$root/usr/share/metainfo/$app_id.metainfo.xml" "$prefix/share/metainfo/$app_id.metainfo.xml"
check_quiet "the packaged man page renders with no warning" env LC_ALL=C.UTF-8 MANWIDTH=80 \
    sh -c "man --warnings -E UTF-8 -l -Tutf8 -Z '$root/usr/share/man/man6/kordavan.6.gz' >/dev/null"
e2e_check "the packaged changelog is compressed" [ -f "$root/usr/share/doc/kordavan/changelog.gz" ]
e2e_check "the packaged game is stripped" \
    sh -c "file -b '$root/usr/games/kordavan' | grep -q ', stripped'"

# ---------------------------------------------------------------- the title in a real window
convert "$build/assets/151.bmp" -depth 8 "rgb:$E2E_TMP/title.rgb"
e2e_xvfb 640x480
for exe in "$prefix/bin/kordavan" "$root/usr/games/kordavan"; do
    where="${exe#"$E2E_TMP"/}"
    e2e_start_game "$exe"
    sleep 1.5
    e2e_game_alive || e2e_die "$where ended by itself on the title"
    e2e_shot title-shot
    # Docks match the window to its menu entry by the window's class.
    e2e_check "$where's window class is the desktop entry's StartupWMClass" \
        grep -q 'WM_CLASS(STRING) = "kordavan", "kordavan"' \
        <(timeout 5 xprop -id "$GAME_WID" WM_CLASS 2>&1)
    # The credits scroll in their window; the rest of the title stands still.
    e2e_check "$where shows the title picture" python3 "$here/same_picture.py" \
        "$E2E_TMP/title-shot.rgb" "$E2E_TMP/title.rgb" 640 480 6 312 144 616 291
    e2e_focus
    timeout 5 xdotool keydown Escape
    if e2e_wait_exit 3; then
        e2e_check "$where ends with 0 after Escape (got $GAME_EXIT)" [ "$GAME_EXIT" = 0 ]
    else
        e2e_fail "$where still runs 3 s after Escape"
    fi
    timeout 5 xdotool keyup Escape || true
done
e2e_summary
