// The SDL back end's frames without OpenGL: the back buffer widened straight
// into the window's own framebuffer, enlarged there, and handed to the
// window system in one piece. Whole-number enlargements repeat each pixel,
// exactly as the accelerated renderer's nearest filter does, so the two
// paths show the same picture; any other size is smoothed as there.

#include <SDL.h>

#include <cstring>

#include "platform/sdl/screen_math.h"
#include "platform/sdl/sdl_machine.h"

namespace platform::sdl {

namespace {

using Widen = void (*)(const uint16_t*, uint32_t*, size_t);

Widen widenerFor(Uint32 format) {
    if (isArgbLayout(format)) {
        return convertRgb565ToArgb8888;
    }
    if (isAbgrLayout(format)) {
        return convertRgb565ToAbgr8888;
    }
    return nullptr;
}

uint32_t* pixelAt(SDL_Surface* surface, int x, int y) {
    return reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(surface->pixels) +
                                       static_cast<ptrdiff_t>(y) * surface->pitch) +
           x;
}

// Only the bars are cleared: the picture covers the rest every frame.
void blackenAround(SDL_Surface* target, const SDL_Rect& picture) {
    const int right = picture.x + picture.w;
    const int bottom = picture.y + picture.h;
    const SDL_Rect bars[] = {{0, 0, target->w, picture.y},
                             {0, bottom, target->w, target->h - bottom},
                             {0, picture.y, picture.x, picture.h},
                             {right, picture.y, target->w - right, picture.h}};
    const Uint32 black = SDL_MapRGB(target->format, 0, 0, 0);
    for (const SDL_Rect& bar : bars) {
        if (bar.w > 0 && bar.h > 0) {
            SDL_FillRect(target, &bar, black);
        }
    }
}

// Each picture row widened once, its pixels repeated across, the row repeated down.
void enlargeWhole(const Surface& picture, SDL_Surface* target, const SDL_Rect& box, Widen widen,
                  uint32_t* row) {
    const int times = box.w / pictureWidth;
    for (int y = 0; y < pictureHeight; ++y) {
        const uint16_t* from = picture.pixels.data() + static_cast<size_t>(y) * picture.width;
        uint32_t* first = pixelAt(target, box.x, box.y + y * times);
        if (times == 1) {
            widen(from, first, pictureWidth);
            continue;
        }
        widen(from, row, pictureWidth);
        for (int x = 0; x < pictureWidth; ++x) {
            for (int copy = 0; copy < times; ++copy) first[x * times + copy] = row[x];
        }
        for (int copy = 1; copy < times; ++copy) {
            std::memcpy(pixelAt(target, box.x, box.y + y * times + copy), first,
                        static_cast<size_t>(box.w) * sizeof(uint32_t));
        }
    }
}

void widenWhole(const Surface& picture, SDL_Surface* into, Widen widen) {
    for (int y = 0; y < pictureHeight; ++y) {
        widen(picture.pixels.data() + static_cast<size_t>(y) * picture.width, pixelAt(into, 0, y),
              pictureWidth);
    }
}

}  // namespace

bool SdlBackend::drawIntoFramebuffer(const Surface& backBuffer) {
    SDL_Surface* target = SDL_GetWindowSurface(window);
    if (target == nullptr || backBuffer.width != pictureWidth ||
        backBuffer.height != pictureHeight ||
        backBuffer.pixels.size() < static_cast<size_t>(pictureWidth) * pictureHeight) {
        return false;
    }
    const Letterbox box = letterbox(target->w, target->h, display.integerScale);
    const Widen direct = widenerFor(target->format->format);
    // Widened once into a picture of the target's own format, from which
    // SDL smooths or converts; kept while the format stays.
    const Uint32 middleFormat =
        direct != nullptr ? target->format->format : Uint32{SDL_PIXELFORMAT_ARGB8888};
    if (widened != nullptr && widened->format->format != middleFormat) {
        SDL_FreeSurface(widened);
        widened = nullptr;
    }
    const bool whole = direct != nullptr && box.wholeScale && box.rect.w % pictureWidth == 0 &&
                       box.rect.h == box.rect.w / pictureWidth * pictureHeight;
    if (!whole && widened == nullptr) {
        widened = SDL_CreateRGBSurfaceWithFormat(0, pictureWidth, pictureHeight, 32, middleFormat);
        if (widened == nullptr) {
            return false;
        }
    }
    if (SDL_LockSurface(target) != 0) {
        return false;
    }
    blackenAround(target, box.rect);
    if (whole) {
        rowBuffer.resize(pictureWidth);
        enlargeWhole(backBuffer, target, box.rect, direct, rowBuffer.data());
    }
    SDL_UnlockSurface(target);
    if (whole) {
        return true;
    }
    widenWhole(backBuffer, widened, direct != nullptr ? direct : Widen{convertRgb565ToArgb8888});
    SDL_Rect rect = box.rect;
    // Smoothing needs one format on both sides; anything else is converted
    // pixel by pixel, as a display of unusual depth only ever needs.
    const int done = direct != nullptr ? SDL_SoftStretchLinear(widened, nullptr, target, &rect)
                                       : SDL_BlitScaled(widened, nullptr, target, &rect);
    return done == 0;
}

}  // namespace platform::sdl
