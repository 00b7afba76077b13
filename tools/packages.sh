# Installs the Debian packages named in its arguments that are not installed
# yet, through sudo when not root. Sourced by ./run and ./test.

install_missing() {
    local missing=()
    local package
    for package in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$package")
        fi
    done
    if [ ${#missing[@]} -eq 0 ]; then
        return 0
    fi
    echo "Installing: ${missing[*]}"
    local sudo=()
    if [ "$(id -u)" -ne 0 ]; then
        sudo=(sudo)
    fi
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
        "${missing[@]}" </dev/null
}

# What building the game needs.
build_packages=(cmake make g++ pkg-config libsdl2-dev libfreetype-dev fonts-dejavu-core)

# What the test of the installed game and its Debian package needs: the
# validators of each file it installs, CPack's dpkg-shlibdeps and lintian.
install_test_packages=(desktop-file-utils appstream groff-base man-db dpkg-dev lintian file)
# What the browser build needs besides: Debian's emscripten (offline), node
# for its optimiser and the node trace tool, Python's web server for the page,
# zopfli to pack the page's game smaller than zlib can.
web_packages=(cmake make g++ pkg-config libfreetype-dev fonts-dejavu-core emscripten nodejs python3 zopfli)
# What the Windows build needs: Debian's mingw-w64 (POSIX threads flavour),
# GoogleTest's sources to build it for Windows, Wine and Xvfb to run the .exe
# files, Python for the icon and the picture checks, NSIS for the installer.
windows_packages=(cmake make g++ pkg-config libsdl2-dev libfreetype-dev fonts-dejavu-core
    g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 googletest wine wine64 xvfb xauth
    xdotool imagemagick python3 x11-utils nsis)
# What tools/screenshots.sh needs to make the README's pictures small.
docs_packages=(optipng)
# What the page's test in a real browser needs.
browser_test_packages=(chromium)

# npm comes with NodeSource's nodejs and as a package of its own with Debian's.
install_npm() {
    if ! command -v npm >/dev/null 2>&1; then
        install_missing npm
    fi
}
