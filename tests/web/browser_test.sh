#!/usr/bin/env bash
# The game's page in headless Chromium: installs puppeteer-core (pinned by
# package-lock.json) into the build folder, serves BUILD/site/ on a free port
# of 127.0.0.1 with Python's web server and runs browser_test.js against it,
# then layout_test.js (where every button goes, on every phone and tablet),
# sound_test.js (a pad alone and the sound),
# then player_test.js (touch, pads, pause, the end pictures, loading, offline) with its own
# server.
#
#   tests/web/browser_test.sh BUILD-WEB-FOLDER
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="$(cd "$1" && pwd)"
modules="$build/browser-test"

if ! cmp -s "$here/package-lock.json" "$modules/package-lock.json" 2>/dev/null ||
    [ ! -d "$modules/node_modules/puppeteer-core" ]; then
    mkdir -p "$modules"
    cp "$here/package.json" "$here/package-lock.json" "$modules/"
    # puppeteer-core drives the system's Chromium and downloads no browser.
    (cd "$modules" && npm ci --ignore-scripts --no-audit --no-fund --loglevel=error)
fi

log="$(mktemp)"
python3 -u -m http.server 0 --bind 127.0.0.1 --directory "$build/site" > "$log" 2>&1 &
server=$!
trap 'kill "$server" 2>/dev/null; rm -f "$log"' EXIT
port=""
for _ in $(seq 100); do
    port="$(sed -n 's/^Serving HTTP on .* port \([0-9]*\).*/\1/p' "$log")"
    [ -n "$port" ] && break
    sleep 0.1
done
if [ -z "$port" ]; then
    echo "the web server did not start:"
    cat "$log"
    exit 1
fi

status=0
NODE_PATH="$modules/node_modules" node "$here/browser_test.js" "http://127.0.0.1:$port/" "$build/assets" || status=1
NODE_PATH="$modules/node_modules" node "$here/layout_test.js" "http://127.0.0.1:$port/" || status=1
NODE_PATH="$modules/node_modules" node "$here/sound_test.js" "http://127.0.0.1:$port/" || status=1
NODE_PATH="$modules/node_modules" node "$here/player_test.js" "$build/site" "$build/assets" "$build/ending-site" || status=1
exit $status
