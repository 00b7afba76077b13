#!/usr/bin/env bash
# Builds the fuzz targets with clang in build-fuzz and runs each for a while
# (30 s by default), seeded with the game's own pictures and sounds. Exits
# non-zero, with the crashing input kept in build-fuzz/findings/, when a target
# finds a crash, a leak or undefined behaviour.
#
#   tests/fuzz/run.sh [SECONDS]
#
# A longer run, e.g. an hour per target on both cores:
#   tests/fuzz/run.sh 3600
# The corpora grow in build-fuzz/corpus-*/ and are reused by the next run.
set -euo pipefail
cd "$(dirname "$0")/../.."
root="$(pwd)"
seconds="${1:-30}"
build="$root/build-fuzz"
pids=()
cleanup() {
    local pid
    for pid in "${pids[@]}"; do kill -TERM "$pid" 2>/dev/null || true; done
    for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
}
trap cleanup EXIT

CXX="${FUZZ_CXX:-clang++}" cmake -S tests/fuzz -B "$build" >/dev/null
cmake --build "$build" -j"$(nproc)" >/dev/null

# The seeds: the generated pictures and sounds of any build here, or fresh
# ones from the generator.
assets=""
for dir in build/assets build-*/assets; do
    if compgen -G "$root/$dir/*.bmp" >/dev/null && compgen -G "$root/$dir/*.wav" >/dev/null; then
        assets="$root/$dir"
        break
    fi
done
if [ -z "$assets" ]; then
    cmake -S . -B "$build/main" -DKORDAVAN_TESTS=OFF >/dev/null
    cmake --build "$build/main" -j"$(nproc)" --target kordavan-assets >/dev/null
    "$build/main/tools/assets/kordavan-assets" "$build/seeds" >/dev/null
    assets="$build/seeds"
fi
mkdir -p "$build/corpus-bitmap" "$build/corpus-wave" "$build/findings"
cp -n "$assets"/*.bmp "$build/corpus-bitmap/"
cp -n "$assets"/*.wav "$build/corpus-wave/"
echo "fuzzing ${seconds} s per target, seeds from $assets"

# run TARGET CORPUS DICT MAX_LEN: one target in the background, its log kept.
run() {
    local target="$1" corpus="$2" dict="$3" max_len="$4"
    "$build/$target" "$corpus" -dict="$root/tests/fuzz/$dict" -max_total_time="$seconds" \
        -max_len="$max_len" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="$build/findings/$target-" >"$build/$target.log" 2>&1 &
    pids+=($!)
}
export ASAN_OPTIONS="detect_leaks=1:allocator_may_return_null=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
run fuzz-bitmap "$build/corpus-bitmap" bitmap.dict 65536
run fuzz-wave "$build/corpus-wave" wave.dict 8192

status=0
for i in "${!pids[@]}"; do
    wait "${pids[$i]}" || status=1
done
pids=()
for target in fuzz-bitmap fuzz-wave; do
    echo "== $target: $(grep -E '^stat::number_of_executed_units' "$build/$target.log" | awk '{print $2}') runs," \
        "corpus $(ls "$build/corpus-${target#fuzz-}" | wc -l) inputs"
    if grep -qE 'ERROR: (AddressSanitizer|libFuzzer|LeakSanitizer)|runtime error:|SUMMARY:' \
        "$build/$target.log"; then
        status=1
        grep -E -m 20 'ERROR|runtime error|SUMMARY|#[0-9]+ 0x' "$build/$target.log"
    fi
done
ls "$build/findings" | sed 's/^/finding: /'
[ "$status" -eq 0 ] && echo "no findings" || echo "FINDINGS: see $build/*.log and $build/findings/"
exit "$status"
