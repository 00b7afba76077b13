#!/usr/bin/env bash
# Writes the expected output of every golden trace anew with the given
# kordavan-trace. Only for a change of behaviour that is meant: say why in the
# commit message.
#
#   tests/golden/regenerate.sh build/tools/trace/kordavan-trace
set -euo pipefail
trace="$(realpath "$1")"
cd "$(dirname "$0")"
for keys in *.keys; do
    name="${keys%.keys}"
    read -r -a arguments < "$name.args" || true
    "$trace" "${arguments[@]}" --draws --sounds < "$keys" | gzip -9n > "$name.trace.gz"
done
