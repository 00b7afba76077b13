// One whole game step on the headless machine against memcpy of the pixels
// that step writes: every pixel drawKeyed copies into the back buffer, plus
// the 640 x 480 frame the flip hands on to be shown.

#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "bench/headless_game.h"

namespace {

constexpr int64_t framePixels = 640 * 480;
constexpr int sampleSteps = 2000;

// The pixels an average step writes, from a stretch of play ahead of the timing.
int64_t pixelsPerStep() {
    static int64_t average = 0;
    if (average == 0 && startHeadlessGame()) {
        takeDrawnPixels();
        for (int i = 0; i < sampleSteps; ++i) {
            headlessGameStep();
        }
        average = takeDrawnPixels() / sampleSteps + framePixels;
    }
    return average;
}

void BM_GameStep(benchmark::State& state) {
    if (!startHeadlessGame()) {
        state.SkipWithError("headless start-up failed");
        return;
    }
    const int64_t pixels = pixelsPerStep();
    takeDrawnPixels();
    for (auto _ : state) {
        headlessGameStep();
    }
    state.counters["drawn_px_per_step"] =
        static_cast<double>(takeDrawnPixels()) / static_cast<double>(state.iterations());
    state.counters["written_px_per_step"] = static_cast<double>(pixels);
    state.SetBytesProcessed(state.iterations() * pixels * 2);
}

void BM_GameStepPixelsMemcpy(benchmark::State& state) {
    if (!startHeadlessGame()) {
        state.SkipWithError("headless start-up failed");
        return;
    }
    const auto bytes = static_cast<size_t>(pixelsPerStep()) * 2;
    std::vector<uint8_t> from(bytes, 1);
    std::vector<uint8_t> to(bytes, 0);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), bytes);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes));
}

}  // namespace

BENCHMARK(BM_GameStep);
BENCHMARK(BM_GameStepPixelsMemcpy);
