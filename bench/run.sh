#!/usr/bin/env bash
# Builds the benchmarks in build-bench (Release) and the browser build in
# build-web, runs them (the SDL ones, the peak memory and a minute of play on a
# private Xvfb) and prints the table for bench/README.md. Results stay in
# build-bench/bench-results/.
#
#   bench/run.sh [extra Google Benchmark flags for the headless benchmarks]
set -euo pipefail
cd "$(dirname "$0")/.."
root="$(pwd)"
out="$root/build-bench/bench-results"
jobs="$(nproc)"

cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DKORDAVAN_BENCH=ON -DKORDAVAN_TESTS=OFF \
    -DKORDAVAN_WERROR=ON >/dev/null
cmake --build build-bench -j"$jobs" --target kordavan kordavan-bench kordavan-bench-sdl \
    kordavan-step-time
mkdir -p "$out"

# The machine is shared: repeat and compare medians of the same run.
build-bench/bench/kordavan-bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
    --benchmark_out="$out/headless.json" --benchmark_out_format=json "$@"

(
    source "$root/tests/e2e/lib.bash"
    e2e_begin bench-sdl 120
    e2e_xvfb 640x480
    SDL_AUDIODRIVER=dummy timeout 100 build-bench/bench/kordavan-bench-sdl \
        --benchmark_repetitions=3 --benchmark_report_aggregates_only=true \
        --benchmark_out="$out/sdl.json" --benchmark_out_format=json
)

bash bench/peak_memory.sh build-bench/kordavan | tee "$out/peak.txt"
peak="$(awk '/^peak_rss_kib/ {print $2}' "$out/peak.txt")"

bash bench/minute_of_play.sh build-bench/kordavan | tee "$out/minute.txt"

# The browser build: its page's size, and its step under node against this machine's.
tools/build_web.sh kordavan kordavan-step-time -- -DKORDAVAN_BENCH=ON >/dev/null
python3 bench/web_figures.py build-web build-bench > "$out/web.json"

echo
python3 bench/table.py "$out/headless.json" "$out/sdl.json" "${peak:-unknown}" "$out/web.json" \
    "$out/minute.txt" |
    tee "$out/table.md"
