// drawKeyed of the game's own pictures against memcpy of the same bytes.

#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "app/devices.h"
#include "bench/headless_game.h"
#include "gfx/surfaces.h"

namespace {

struct Sprite {
    Surface** surface;
    int x;
    int y;
};

// Where the game draws them: the title at the origin, the helicopter at its
// start, an orb in the sky, a terrain segment along the bottom.
const Sprite fullScreen{&surfTitle, 0, 0};
const Sprite helicopter{&surfHeliLeft[0], 230, 370};
const Sprite orb{&surfOrbA, 300, 200};
const Sprite terrain{&surfTerrain[0], 0, 288};

void drawKeyedBench(benchmark::State& state, const Sprite& sprite) {
    if (!startHeadlessGame()) {
        state.SkipWithError("headless start-up failed");
        return;
    }
    Surface* source = *sprite.surface;
    const Rect all{0, 0, source->width, source->height};
    for (auto _ : state) {
        drawKeyed(source, all, sprite.x, sprite.y);
        benchmark::ClobberMemory();
    }
    takeDrawnPixels();
    const int64_t bytes = static_cast<int64_t>(source->width) * source->height * 2;
    state.SetBytesProcessed(state.iterations() * bytes);
    state.counters["pixels"] = static_cast<double>(source->width) * source->height;
}

// The same number of bytes, in one contiguous block.
void memcpyBench(benchmark::State& state, int width, int height) {
    const size_t bytes = static_cast<size_t>(width) * static_cast<size_t>(height) * 2;
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

BENCHMARK_CAPTURE(drawKeyedBench, fullscreen_640x480, fullScreen);
BENCHMARK_CAPTURE(memcpyBench, fullscreen_640x480, 640, 480);
BENCHMARK_CAPTURE(drawKeyedBench, helicopter_240x64, helicopter);
BENCHMARK_CAPTURE(memcpyBench, helicopter_240x64, 240, 64);
BENCHMARK_CAPTURE(drawKeyedBench, orb_32x32, orb);
BENCHMARK_CAPTURE(memcpyBench, orb_32x32, 32, 32);
BENCHMARK_CAPTURE(drawKeyedBench, terrain_640x192, terrain);
BENCHMARK_CAPTURE(memcpyBench, terrain_640x192, 640, 192);
