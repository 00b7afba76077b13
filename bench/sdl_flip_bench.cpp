// The SDL back end's picture path on a real X display (Xvfb will do): the
// game's flip, which uploads the back buffer and presents it, against the
// same upload alone and against upload and present done here. The flip
// goes whichever way KORDAVAN_RENDERER asks; the upload figures need
// OpenGL's renderer and are skipped on the framebuffer. Skipped when there is
// no display.

#include <SDL.h>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <vector>

#include "app/devices.h"
#include "app/startup.h"
#include "platform/platform.h"
#include "platform/sdl/screen_math.h"
#include "platform/sdl_backend.h"

namespace {

bool started = false;
bool failed = false;
bool framebuffer = false;  // the game shows its frames without a renderer
const char* rendererName = "?";
SDL_Renderer* renderer = nullptr;
SDL_Texture* texture = nullptr;
Uint32 textureFormat = 0;

// The game itself, started once on the SDL back end, and a streaming texture
// like its own screen on the game's renderer.
bool startSdlGame(benchmark::State& state) {
    if (std::getenv("DISPLAY") == nullptr) {
        state.SkipWithError("no DISPLAY");
        return false;
    }
    if (!started && !failed) {
        platform::useSdlBackend();
        failed = initApplication(platform::gameModule(), 1) == 0;
        if (!failed) {
            SDL_Window* window = SDL_GetKeyboardFocus();
            if (window == nullptr) {
                window = SDL_GetWindowFromID(1);
            }
            renderer = window != nullptr ? SDL_GetRenderer(window) : nullptr;
            framebuffer = window != nullptr && renderer == nullptr;
            rendererName = framebuffer ? "framebuffer" : rendererName;
            SDL_RendererInfo info{};
            if (renderer != nullptr && SDL_GetRendererInfo(renderer, &info) == 0) {
                rendererName = info.name;
                textureFormat = info.num_texture_formats > 0 ? info.texture_formats[0]
                                                             : Uint32{SDL_PIXELFORMAT_ARGB8888};
                texture = SDL_CreateTexture(renderer, textureFormat, SDL_TEXTUREACCESS_STREAMING,
                                            640, 480);
            }
            failed = texture == nullptr && !framebuffer;
        }
        started = true;
    }
    if (failed) {
        state.SkipWithError("the game could not start on this display");
        return false;
    }
    state.SetLabel(rendererName);
    return true;
}

// What the back end does before each present: widen RGB565 into the locked
// texture.
void upload() {
    void* pixels = nullptr;
    int pitch = 0;
    if (SDL_LockTexture(texture, nullptr, &pixels, &pitch) == 0) {
        const bool abgr =
            textureFormat == SDL_PIXELFORMAT_ABGR8888 || textureFormat == SDL_PIXELFORMAT_BGR888;
        const auto convert =
            abgr ? platform::sdl::convertRgb565ToAbgr8888 : platform::sdl::convertRgb565ToArgb8888;
        for (int y = 0; y < 480; ++y) {
            convert(backBuffer->pixels.data() + static_cast<size_t>(y) * 640,
                    reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(pixels) +
                                                static_cast<ptrdiff_t>(y) * pitch),
                    640);
        }
        SDL_UnlockTexture(texture);
    }
}

// The upload and present figures are OpenGL's renderer's own.
bool startRendererGame(benchmark::State& state) {
    if (!startSdlGame(state)) return false;
    if (framebuffer) {
        state.SkipWithError("the game shows its frames through the framebuffer");
        return false;
    }
    return true;
}

void BM_SdlUpload(benchmark::State& state) {
    if (!startRendererGame(state)) return;
    for (auto _ : state) {
        upload();
    }
}

void BM_SdlUploadAndPresent(benchmark::State& state) {
    if (!startRendererGame(state)) return;
    int width = 0;
    int height = 0;
    SDL_GetRendererOutputSize(renderer, &width, &height);
    const SDL_Rect box = platform::sdl::letterbox(width, height).rect;
    for (auto _ : state) {
        upload();
        SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
        SDL_RenderClear(renderer);
        SDL_RenderCopy(renderer, texture, nullptr, &box);
        SDL_RenderPresent(renderer);
    }
}

// The game's own flip: the same work, whichever way it goes; the loop, not
// the flip, keeps the beat.
void BM_SdlGameFlip(benchmark::State& state) {
    if (!startSdlGame(state)) return;
    for (auto _ : state) {
        platform::flip(primarySurface);
    }
}

}  // namespace

BENCHMARK(BM_SdlUpload)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SdlUploadAndPresent)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SdlGameFlip)->Unit(benchmark::kMicrosecond)->MinTime(1.0);
