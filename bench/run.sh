#!/usr/bin/env bash
# Builds the benchmarks in build-bench (Release) and the browser build in
# build-web, runs them (the SDL ones, the peak memory and the whole game's
# cost on the title, in play and paused, on a private Xvfb, through OpenGL
# and through the framebuffer) and prints the tables for bench/README.md.
# Results stay in build-bench/bench-results/.
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
    kordavan-bench-present kordavan-step-time
mkdir -p "$out"

# The machine is shared: repeat and compare medians of the same run.
build-bench/bench/kordavan-bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
    --benchmark_out="$out/headless.json" --benchmark_out_format=json "$@"

# The picture's enlargement for the screen against memcpy of the enlarged
# picture, and what full screen costs the whole game and the X server in play.
build-bench/bench/kordavan-bench-present --benchmark_repetitions=5 \
    --benchmark_report_aggregates_only=true --benchmark_out="$out/present.json" \
    --benchmark_out_format=json
for screen in 1920x1080 640x480; do
    bash bench/fullscreen_cost.sh build-bench/kordavan "$screen" 10 | tee "$out/fullscreen-$screen.txt"
done

# The SDL flip both ways; the upload figures through OpenGL's renderer.
for path in accelerated software; do
    (
        source "$root/tests/e2e/lib.bash"
        e2e_begin "bench-sdl-$path" 120
        e2e_xvfb 640x480
        filter=.
        [ "$path" = software ] && filter=GameFlip
        KORDAVAN_RENDERER="$path" SDL_AUDIODRIVER=dummy timeout 100 \
            build-bench/bench/kordavan-bench-sdl --benchmark_filter="$filter" \
            --benchmark_repetitions=3 --benchmark_report_aggregates_only=true \
            --benchmark_out="$out/sdl-$path.json" --benchmark_out_format=json
    )
done

bash bench/peak_memory.sh build-bench/kordavan | tee "$out/peak.txt"
peak="$(awk '/^peak_rss_kib/ {print $2}' "$out/peak.txt")"

# What the whole game costs, each scene both ways, for BENCH_SECONDS (default
# 60) each: about 12 minutes in all.
seconds="${BENCH_SECONDS:-60}"
for path in software accelerated; do
    for run in "title 1" "play 1" "pause 1" "play 2"; do
        set -- $run
        KORDAVAN_RENDERER="$path" bash bench/process_cost.sh build-bench/kordavan "$1" \
            "$seconds" "$2" | tee "$out/process-$path-$1-$2.txt"
    done
done

# The browser build: its page's size, and its step under node against this machine's.
tools/build_web.sh kordavan kordavan-step-time -- -DKORDAVAN_BENCH=ON >/dev/null
python3 bench/web_figures.py build-web build-bench > "$out/web.json"
# The page on a phone: first-visit bytes from a plain static host, the title
# on Slow 4G with the processor slowed four times, Lighthouse and axe-core.
bash bench/web/run.sh build-web | tee "$out/web-phone.json"

echo
python3 bench/table.py "$out/headless.json" "$out/sdl-accelerated.json" "${peak:-unknown}" \
    "$out/web.json" "$out" |
    tee "$out/table.md"
