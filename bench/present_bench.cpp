// The picture's enlargement for the screen, as the framebuffer and Windows
// back ends do it every frame, at the sizes a desktop shows it: 640 x 480 (a
// window at the game's size), 1280 x 960 (twice), 1440 x 1080 (full screen
// on a 1920 x 1080 desktop, 2.25 times) and 1920 x 1440 (three times). The
// baseline is memcpy of a picture of the enlarged size, the least that
// writing it costs; the smoothing SDL did before (SDL_SoftStretchLinear of
// the widened picture) is measured beside it for the non-whole sizes.

#include <SDL.h>
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/picture_scaler.h"
#include "platform/pixel_widening.h"

namespace {

constexpr int pictureWidth = 640;
constexpr int pictureHeight = 480;

// A picture with an edge at almost every pixel, so no row is a plain run;
// the cost does not depend on what the picture shows.
std::vector<uint16_t> busyPicture() {
    std::vector<uint16_t> picture(static_cast<size_t>(pictureWidth) * pictureHeight);
    uint32_t state = 12345;
    for (uint16_t& pixel : picture) {
        state = state * 1103515245u + 12345u;
        pixel = static_cast<uint16_t>(state >> 16);
    }
    return picture;
}

// Every frame of play differs from the last in every row.
void BM_Present(benchmark::State& state) {
    const int width = static_cast<int>(state.range(0));
    const int height = static_cast<int>(state.range(1));
    const std::vector<uint16_t> picture = busyPicture();
    std::vector<uint32_t> target(static_cast<size_t>(width) * height);
    platform::PictureScaler scaler;
    for (auto _ : state) {
        scaler.redrawAll();
        scaler.scale(picture.data(), pictureWidth, pictureHeight, target.data(), width * 4, width,
                     height, platform::PixelOrder::Argb);
        benchmark::DoNotOptimize(target.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * width * height * 4);
}

// A still picture: the same frame again finds no row to draw.
void BM_PresentStill(benchmark::State& state) {
    const int width = static_cast<int>(state.range(0));
    const int height = static_cast<int>(state.range(1));
    const std::vector<uint16_t> picture = busyPicture();
    std::vector<uint32_t> target(static_cast<size_t>(width) * height);
    platform::PictureScaler scaler;
    for (auto _ : state) {
        scaler.scale(picture.data(), pictureWidth, pictureHeight, target.data(), width * 4, width,
                     height, platform::PixelOrder::Argb);
        benchmark::DoNotOptimize(target.data());
        benchmark::ClobberMemory();
    }
}

// The floor: one copy of a picture of the target's size.
void BM_MemcpyTarget(benchmark::State& state) {
    const size_t bytes = static_cast<size_t>(state.range(0)) * state.range(1) * 4;
    std::vector<uint8_t> from(bytes, 7);
    std::vector<uint8_t> to(bytes);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), bytes);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes));
}

// What the framebuffer path did before: widen, then SDL's linear stretch.
void BM_SdlSoftStretchLinear(benchmark::State& state) {
    const int width = static_cast<int>(state.range(0));
    const int height = static_cast<int>(state.range(1));
    const std::vector<uint16_t> picture = busyPicture();
    SDL_Surface* widened = SDL_CreateRGBSurfaceWithFormat(0, pictureWidth, pictureHeight, 32,
                                                          SDL_PIXELFORMAT_ARGB8888);
    SDL_Surface* target =
        SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_ARGB8888);
    for (auto _ : state) {
        for (int y = 0; y < pictureHeight; ++y) {
            platform::convertRgb565ToArgb8888(
                picture.data() + static_cast<size_t>(y) * pictureWidth,
                reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(widened->pixels) +
                                            y * widened->pitch),
                pictureWidth);
        }
        SDL_Rect all{0, 0, width, height};
        SDL_SoftStretchLinear(widened, nullptr, target, &all);
        benchmark::ClobberMemory();
    }
    SDL_FreeSurface(target);
    SDL_FreeSurface(widened);
}

void sizes(benchmark::internal::Benchmark* bench) {
    bench->Args({640, 480})->Args({1280, 960})->Args({1440, 1080})->Args({1920, 1440});
    bench->Unit(benchmark::kMillisecond);
}

}  // namespace

BENCHMARK(BM_Present)->Apply(sizes);
BENCHMARK(BM_PresentStill)->Apply(sizes);
BENCHMARK(BM_MemcpyTarget)->Apply(sizes);
BENCHMARK(BM_SdlSoftStretchLinear)->Args({1440, 1080})->Unit(benchmark::kMillisecond);
