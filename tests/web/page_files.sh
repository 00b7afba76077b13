#!/usr/bin/env bash
# The page's files in headless Chromium (page_files_test.js): installs
# puppeteer-core (pinned by package-lock.json) into the build folder as
# browser_test.sh does, then runs the test with its own server and the
# build's kordavan-trace for node.
#
#   tests/web/page_files.sh BUILD-WEB-FOLDER KORDAVAN-TRACE-JS
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="$(cd "$1" && pwd)"
modules="$build/browser-test"

if ! cmp -s "$here/package-lock.json" "$modules/package-lock.json" 2>/dev/null ||
    [ ! -d "$modules/node_modules/puppeteer-core" ]; then
    mkdir -p "$modules"
    cp "$here/package.json" "$here/package-lock.json" "$modules/"
    (cd "$modules" && npm ci --ignore-scripts --no-audit --no-fund --loglevel=error)
fi
NODE_PATH="$modules/node_modules" node "$here/page_files_test.js" "$build/site" "$build/assets" "$2"
