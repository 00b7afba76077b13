#!/usr/bin/env bash
# Runs one golden trace and compares its output byte for byte with the
# expected output: exit 0 when identical, 1 with the first differing line.
#
#   tests/golden/check.sh NAME TRACE-COMMAND...
# e.g. tests/golden/check.sh mission build/tools/trace/kordavan-trace
set -uo pipefail
name="$1"
shift
here="$(dirname "$0")"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT

read -r -a arguments < "$here/$name.args" || true
"$@" "${arguments[@]}" --draws --sounds < "$here/$name.keys" > "$scratch/actual" 2> "$scratch/errors"
status=$?
gzip -dc "$here/$name.trace.gz" > "$scratch/expected"
if [ "$status" -ne 0 ]; then
    echo "golden $name: the trace ended with exit $status"
    head -c 2000 "$scratch/errors"
    exit 1
fi
if ! cmp -s "$scratch/actual" "$scratch/expected"; then
    echo "golden $name: the output differs from the expected trace"
    cmp "$scratch/actual" "$scratch/expected" | head -1
    diff <(tr ',' '\n' < "$scratch/expected") <(tr ',' '\n' < "$scratch/actual") | head -40
    exit 1
fi
echo "golden $name: $(wc -l < "$scratch/actual") steps identical"
