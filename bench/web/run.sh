#!/usr/bin/env bash
# The page's figures on a phone: installs Lighthouse, axe-core and
# puppeteer-core (pinned by package-lock.json) into the build folder, serves
# BUILD-WEB/site/ with `python3 -m http.server` (a plain static host that
# compresses nothing) on a free port and runs web_bench.js against it in
# Debian's Chromium. Prints one JSON object.
#
#   bench/web/run.sh [BUILD-WEB]   (default: build-web)
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="$(cd "${1:-$here/../../build-web}" && pwd)"
modules="$build/web-bench"

if ! cmp -s "$here/package-lock.json" "$modules/package-lock.json" 2>/dev/null ||
    [ ! -d "$modules/node_modules/lighthouse" ]; then
    mkdir -p "$modules"
    cp "$here/package.json" "$here/package-lock.json" "$modules/"
    # Nothing is downloaded but the packages: puppeteer-core drives the system's Chromium.
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
[ -n "$port" ] || { echo "the web server did not start" >&2; cat "$log" >&2; exit 1; }
NODE_PATH="$modules/node_modules" node "$here/web_bench.js" "http://127.0.0.1:$port/" "$log" "$build/site"
