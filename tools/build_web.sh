#!/usr/bin/env bash
# Builds the browser build in build-web/ with Debian's emscripten: the page in
# build-web/site/ and kordavan-trace for node in build-web/tools/trace/.
#
#   tools/build_web.sh [TARGET...] [-- CMAKE-OPTION...]
set -euo pipefail
cd "$(dirname "$0")/.."
targets=()
while [ $# -gt 0 ] && [ "$1" != "--" ]; do
    targets+=(--target "$1")
    shift
done
[ $# -gt 0 ] && shift
# emcc runs its JavaScript optimiser under node, which finds Debian's acorn
# only there.
export NODE_PATH="/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}"
emcmake cmake -S . -B build-web -DCMAKE_BUILD_TYPE=Release "$@" >/dev/null
cmake --build build-web -j"$(nproc)" "${targets[@]}"
