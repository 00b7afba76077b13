// The SDL back end's screen: the back buffer goes into a streaming texture
// in the renderer's own pixel format, then scaled into the window at 4:3;
// or, without OpenGL, straight into the window's framebuffer.

#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include "platform/sdl/screen_math.h"
#include "platform/sdl/sdl_machine.h"

namespace platform::sdl {

namespace {

constexpr int framesPerSecond = 60;

Uint32 nativeFormat(SDL_Renderer* renderer) {
    SDL_RendererInfo info{};
    if (SDL_GetRendererInfo(renderer, &info) == 0 && info.num_texture_formats > 0) {
        const Uint32 first = info.texture_formats[0];
        if (isArgbLayout(first) || isAbgrLayout(first)) {
            return first;
        }
    }
    // Any renderer takes ARGB and converts it itself, if more slowly.
    return SDL_PIXELFORMAT_ARGB8888;
}

// Sleeps for the bulk of the wait and spins only over the last stretch,
// which the system's sleep cannot hit exactly.
void waitTicks(int64_t ticks) {
    if (ticks <= 0) {
        return;
    }
    const uint64_t frequency = SDL_GetPerformanceFrequency();
    const uint64_t start = SDL_GetPerformanceCounter();
    const uint64_t end = start + static_cast<uint64_t>(ticks);
    const int64_t spinTicks = static_cast<int64_t>(frequency / 2000);  // half a millisecond
    if (ticks > spinTicks) {
        const int64_t sleepTicks = ticks - spinTicks;
        const auto nanoseconds = static_cast<int64_t>(static_cast<double>(sleepTicks) * 1e9 /
                                                      static_cast<double>(frequency));
        std::this_thread::sleep_for(std::chrono::nanoseconds(nanoseconds));
    }
    while (SDL_GetPerformanceCounter() < end) {
    }
}

}  // namespace

Letterbox letterbox(int outputWidth, int outputHeight, bool wholeMultiplesOnly) {
    if (outputWidth <= 0 || outputHeight <= 0) {
        return {{0, 0, pictureWidth, pictureHeight}, true};
    }
    const int whole = std::min(outputWidth / pictureWidth, outputHeight / pictureHeight);
    if (wholeMultiplesOnly && whole >= 1) {
        const int width = pictureWidth * whole;
        const int height = pictureHeight * whole;
        return {{(outputWidth - width) / 2, (outputHeight - height) / 2, width, height}, true};
    }
    // Compare in integers so an exact 4:3 output never loses a pixel to rounding.
    const int64_t w = outputWidth;
    const int64_t h = outputHeight;
    Letterbox box{};
    if (w * pictureHeight <= h * pictureWidth) {
        // Narrower than 4:3: full width, bars above and below.
        box.rect.w = outputWidth;
        box.rect.h = static_cast<int>((w * pictureHeight + pictureWidth / 2) / pictureWidth);
        box.wholeScale = outputWidth % pictureWidth == 0;
    } else {
        // Wider than 4:3: full height, bars left and right.
        box.rect.h = outputHeight;
        box.rect.w = static_cast<int>((h * pictureWidth + pictureHeight / 2) / pictureHeight);
        box.wholeScale = outputHeight % pictureHeight == 0;
    }
    box.rect.x = (outputWidth - box.rect.w) / 2;
    box.rect.y = (outputHeight - box.rect.h) / 2;
    return box;
}

int windowScale(int requested, int availableWidth, int availableHeight) {
    if (requested > 0) {
        return requested;
    }
    return std::max(1, std::min(availableWidth / pictureWidth, availableHeight / pictureHeight));
}

int64_t frameWait(FramePacer& pacer, int64_t now, int64_t period) {
    if (!pacer.started || now - pacer.due > period) {
        pacer.started = true;
        pacer.due = now + period;
        return 0;
    }
    const int64_t wait = pacer.due > now ? pacer.due - now : 0;
    pacer.due += period;
    return wait;
}

bool SdlBackend::openScreen(int width, int height) {
    if (window == nullptr || width <= 0 || height <= 0) {
        return false;
    }
    closeScreen();
    if (!usingFramebuffer) {
        if (renderer == nullptr) {
            return false;
        }
        const Uint32 format = nativeFormat(renderer);
        screen = SDL_CreateTexture(renderer, format, SDL_TEXTUREACCESS_STREAMING, width, height);
        if (screen == nullptr) {
            return false;
        }
        screenIsAbgr = isAbgrLayout(format);
        scaleModeSet = -1;
    }
    screenWidth = width;
    screenHeight = height;
    return true;
}

void SdlBackend::closeScreen() {
    if (screen != nullptr) {
        SDL_DestroyTexture(screen);
        screen = nullptr;
    }
    if (widened != nullptr) {
        SDL_FreeSurface(widened);
        widened = nullptr;
    }
    rowBuffer = {};
    screenWidth = 0;
    screenHeight = 0;
}

bool SdlBackend::windowOnScreen() {
    return (SDL_GetWindowFlags(window) & (SDL_WINDOW_HIDDEN | SDL_WINDOW_MINIMIZED)) == 0;
}

void SdlBackend::keepBeatWithoutPresent() {
    // No present to wait on, so the pacer keeps the beat even where vsync
    // would: the game goes on at its own speed, unseen.
    const bool trusted = vsyncTrusted;
    vsyncTrusted = false;
    paceFrame();
    vsyncTrusted = trusted;
}

void SdlBackend::present(const Surface& backBuffer) {
    switchIfAsked();
    if (window == nullptr || screenWidth == 0) {
        return;
    }
    // Nobody sees a minimised or hidden window: no widening, no copy, no
    // present, until the window is back.
    if (!windowOnScreen()) {
        keepBeatWithoutPresent();
        return;
    }
    if (usingFramebuffer) {
        const bool drawn = drawIntoFramebuffer(backBuffer);
        paceFrame();
        if (drawn) {
            SDL_UpdateWindowSurface(window);
        }
        return;
    }
    uploadToScreen(backBuffer);

    int outputWidth = 0;
    int outputHeight = 0;
    SDL_GetRendererOutputSize(renderer, &outputWidth, &outputHeight);
    const Letterbox box = letterbox(outputWidth, outputHeight, display.integerScale);
    // A whole-number enlargement keeps every pixel crisp; any other needs
    // smoothing, or rows and columns would come out unevenly thick.
    const int scaleMode = box.wholeScale ? SDL_ScaleModeNearest : SDL_ScaleModeLinear;
    if (scaleMode != scaleModeSet) {
        SDL_SetTextureScaleMode(screen, static_cast<SDL_ScaleMode>(scaleMode));
        scaleModeSet = scaleMode;
    }
    SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
    SDL_RenderClear(renderer);
    SDL_RenderCopy(renderer, screen, nullptr, &box.rect);
    paceFrame();
    SDL_RenderPresent(renderer);

    // A driver that claims vsync but returns at once (a hidden window, some
    // compositors) would let the game race; after a second of that the pacer
    // takes over for good.
    const uint64_t now = SDL_GetPerformanceCounter();
    if (vsyncTrusted && lastPresentEnd != 0) {
        const uint64_t halfFrame = SDL_GetPerformanceFrequency() / (2 * framesPerSecond);
        quickPresents = now - lastPresentEnd < halfFrame ? quickPresents + 1 : 0;
        if (quickPresents >= framesPerSecond) {
            vsyncTrusted = false;
        }
    }
    lastPresentEnd = now;
}

void SdlBackend::uploadToScreen(const Surface& backBuffer) {
    void* pixels = nullptr;
    int pitch = 0;
    if (SDL_LockTexture(screen, nullptr, &pixels, &pitch) == 0) {
        const int width = std::min(screenWidth, backBuffer.width);
        const int height = std::min(screenHeight, backBuffer.height);
        const bool tight =
            width == screenWidth && pitch == screenWidth * 4 && backBuffer.width == screenWidth;
        const auto convert = screenIsAbgr ? convertRgb565ToAbgr8888 : convertRgb565ToArgb8888;
        if (backBuffer.pixels.size() >=
            static_cast<size_t>(backBuffer.width) * static_cast<size_t>(height)) {
            if (tight) {
                convert(backBuffer.pixels.data(), static_cast<uint32_t*>(pixels),
                        static_cast<size_t>(width) * static_cast<size_t>(height));
            } else {
                for (int y = 0; y < height; ++y) {
                    auto* row = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(pixels) +
                                                            static_cast<ptrdiff_t>(y) * pitch);
                    convert(backBuffer.pixels.data() + static_cast<size_t>(y) * backBuffer.width,
                            row, static_cast<size_t>(width));
                }
            }
        }
        SDL_UnlockTexture(screen);
    }
}

void SdlBackend::paceFrame() {
    if (vsyncTrusted) {
        return;
    }
    const auto frequency = static_cast<int64_t>(SDL_GetPerformanceFrequency());
    // Rounded up, so the beat is never a hair faster than 60 a second.
    const int64_t period = (frequency + framesPerSecond - 1) / framesPerSecond;
    const auto now = static_cast<int64_t>(SDL_GetPerformanceCounter());
    waitTicks(frameWait(pacer, now, period));
}

}  // namespace platform::sdl
