#!/usr/bin/env bash
# Builds the fuzz targets with clang in build-fuzz and runs each for a while
# (30 s by default), seeded with the game's own pictures and sounds: the two
# decoders of resource bytes, which the build's check of a player's files
# uses too; and the replay parser, seeded with won, lost, quit and cut games
# (tests/fuzz/replays/). Exits non-zero, with the crashing input kept in build-fuzz/findings/, when a target
# finds a crash, a leak, undefined behaviour or an allocation past its memory
# limit.
#
#   tests/fuzz/run.sh [SECONDS [RANDOM_SEED]]
#
# A longer run, e.g. an hour per target on both cores:
#   tests/fuzz/run.sh 3600
# The corpora grow in build-fuzz/corpus-*/ and are reused by the next run.
#
# Given a RANDOM_SEED, a run starts afresh from the game's files alone, so it
# tries the same inputs in the same order on every machine; ./test does that,
# so that a finding there can be repeated anywhere.
set -euo pipefail
cd "$(dirname "$0")/../.."
root="$(pwd)"
seconds="${1:-30}"
seed="${2:-}"
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
export ASAN_OPTIONS="detect_leaks=1:allocator_may_return_null=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
status=0
rm -rf "$build/findings"
mkdir -p "$build/findings"

# Inputs that once broke a decoder (tests/fuzz/regressions/<target>/), each
# run once before any fuzzing.
for target in bitmap wave replay; do
    inputs=("$root/tests/fuzz/regressions/$target"/*)
    [ -e "${inputs[0]}" ] || continue
    if ! "$build/fuzz-$target" -rss_limit_mb=2048 -artifact_prefix="$build/findings/$target-" \
        "${inputs[@]}" >"$build/fuzz-$target-regressions.log" 2>&1; then
        status=1
        grep -E -m 20 'Running:|ERROR|runtime error|SUMMARY' "$build/fuzz-$target-regressions.log"
    fi
done

corpus="$build/corpus"
seed_option=()
if [ -n "$seed" ]; then
    corpus="$build/repeatable-corpus"
    seed_option=(-seed="$seed")
    rm -rf "$corpus-bitmap" "$corpus-wave" "$corpus-replay"
fi
mkdir -p "$corpus-bitmap" "$corpus-wave" "$corpus-replay"
cp -n "$assets"/*.bmp "$corpus-bitmap/"
cp -n "$assets"/*.wav "$corpus-wave/"
cp -n "$root"/tests/fuzz/replays/*.replay "$corpus-replay/"
echo "fuzzing ${seconds} s per target, seeds from $assets${seed:+, random seed $seed}"

# run TARGET CORPUS DICT MAX_LEN: one target in the background, its log kept.
run() {
    local target="$1" corpus="$2" dict="$3" max_len="$4"
    "$build/$target" "$corpus" -dict="$root/tests/fuzz/$dict" -max_total_time="$seconds" \
        -max_len="$max_len" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="$build/findings/$target-" "${seed_option[@]}" >"$build/$target.log" 2>&1 &
    pids+=($!)
}
run fuzz-bitmap "$corpus-bitmap" bitmap.dict 65536
run fuzz-wave "$corpus-wave" wave.dict 8192
run fuzz-replay "$corpus-replay" replay.dict 16384

for i in "${!pids[@]}"; do
    wait "${pids[$i]}" || status=1
done
pids=()
for target in fuzz-bitmap fuzz-wave fuzz-replay; do
    echo "== $target: $(grep -E '^stat::number_of_executed_units' "$build/$target.log" | awk '{print $2}') runs," \
        "corpus $(ls "$corpus-${target#fuzz-}" | wc -l) inputs"
    if grep -qE 'ERROR: (AddressSanitizer|libFuzzer|LeakSanitizer)|runtime error:|SUMMARY:' \
        "$build/$target.log"; then
        status=1
        grep -E -m 20 'ERROR|runtime error|SUMMARY|#[0-9]+ 0x' "$build/$target.log"
    fi
done
ls "$build/findings" | sed 's/^/finding: /'
[ "$status" -eq 0 ] && echo "no findings" || echo "FINDINGS: see $build/*.log and $build/findings/"
exit "$status"
