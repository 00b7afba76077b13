// The SDL back end's screen: the back buffer goes into a streaming texture
// in the renderer's own pixel format, then scaled into the window at 4:3;
// or, without OpenGL, straight into the window's framebuffer.

#include <SDL.h>

#include <algorithm>

#include "platform/sdl/screen_math.h"
#include "platform/sdl/sdl_machine.h"

namespace platform::sdl {

namespace {

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

}  // namespace

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
    framebufferStale = true;
    screenWidth = 0;
    screenHeight = 0;
}

bool SdlBackend::windowOnScreen() {
    return (SDL_GetWindowFlags(window) & (SDL_WINDOW_HIDDEN | SDL_WINDOW_MINIMIZED)) == 0;
}

void SdlBackend::present(const Surface& backBuffer) {
    switchIfAsked();
    if (window == nullptr || screenWidth == 0) {
        return;
    }
    // Nobody sees a minimised or hidden window: no widening, no copy, no
    // present, until the window is back (and says so with Exposed).
    if (!windowOnScreen()) {
        return;
    }
    if (usingFramebuffer) {
        drawIntoFramebuffer(backBuffer);
        return;
    }
    uploadToScreen(backBuffer);

    int outputWidth = 0;
    int outputHeight = 0;
    SDL_GetRendererOutputSize(renderer, &outputWidth, &outputHeight);
    const Letterbox box = letterbox(outputWidth, outputHeight, display.integerScale);
    noteShownPicture(box.rect, outputWidth, outputHeight);
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
    SDL_RenderPresent(renderer);
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

}  // namespace platform::sdl
