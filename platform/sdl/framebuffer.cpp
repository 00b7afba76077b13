// The SDL back end's frames without OpenGL: the back buffer enlarged straight
// into the window's own framebuffer by the shared picture scaler, and only
// the rows that changed handed to the window system. Whole-number
// enlargements repeat each pixel, exactly as the accelerated renderer's
// nearest filter does, so the two paths show the same picture; any other
// size is smoothed at the pixel edges.
//
// The bars around the picture are drawn once, when the window's framebuffer
// is new, the picture moves or the window system says the window was lost
// (an X server without backing store forgets what a covered window showed);
// every other frame touches the picture's rows alone.

#include <SDL.h>

#include "platform/sdl/screen_math.h"
#include "platform/sdl/sdl_machine.h"

namespace platform::sdl {

namespace {

uint32_t* pixelAt(SDL_Surface* surface, int x, int y) {
    return reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(surface->pixels) +
                                       static_cast<ptrdiff_t>(y) * surface->pitch) +
           x;
}

// Only the bars are cleared: the picture covers the rest.
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

bool sameRect(const SDL_Rect& a, const SDL_Rect& b) {
    return a.x == b.x && a.y == b.y && a.w == b.w && a.h == b.h;
}

}  // namespace

// A framebuffer of an unusual depth: widened to ARGB and converted by SDL,
// the whole window each frame, as only such a rare display ever needs.
bool SdlBackend::drawConverted(const Surface& backBuffer, SDL_Surface* target,
                               const SDL_Rect& box) {
    if (widened == nullptr) {
        widened = SDL_CreateRGBSurfaceWithFormat(0, pictureWidth, pictureHeight, 32,
                                                 SDL_PIXELFORMAT_ARGB8888);
        if (widened == nullptr) {
            return false;
        }
    }
    for (int y = 0; y < pictureHeight; ++y) {
        convertRgb565ToArgb8888(backBuffer.pixels.data() + static_cast<size_t>(y) * pictureWidth,
                                pixelAt(widened, 0, y), pictureWidth);
    }
    if (SDL_LockSurface(target) != 0) {
        return false;
    }
    blackenAround(target, box);
    SDL_UnlockSurface(target);
    SDL_Rect rect = box;
    return SDL_BlitScaled(widened, nullptr, target, &rect) == 0 &&
           SDL_UpdateWindowSurface(window) == 0;
}

bool SdlBackend::drawIntoFramebuffer(const Surface& backBuffer) {
    SDL_Surface* target = SDL_GetWindowSurface(window);
    if (target == nullptr || backBuffer.width != pictureWidth ||
        backBuffer.height != pictureHeight ||
        backBuffer.pixels.size() < static_cast<size_t>(pictureWidth) * pictureHeight) {
        return false;
    }
    const Letterbox box = letterbox(target->w, target->h, display.integerScale);
    noteShownPicture(box.rect, target->w, target->h);
    const Uint32 format = target->format->format;
    if (!isArgbLayout(format) && !isAbgrLayout(format)) {
        return drawConverted(backBuffer, target, box.rect);
    }
    const bool whole = framebufferStale || target != framebufferShown ||
                       target->w != framebufferWidth || target->h != framebufferHeight ||
                       !sameRect(box.rect, pictureShown);
    if (SDL_LockSurface(target) != 0) {
        return false;
    }
    if (whole) {
        blackenAround(target, box.rect);
        scaler.redrawAll();
    }
    scaler.scale(backBuffer.pixels.data(), pictureWidth, pictureHeight,
                 pixelAt(target, box.rect.x, box.rect.y), target->pitch, box.rect.w, box.rect.h,
                 isArgbLayout(format) ? PixelOrder::Argb : PixelOrder::Abgr);
    SDL_UnlockSurface(target);
    framebufferStale = false;
    framebufferShown = target;
    framebufferWidth = target->w;
    framebufferHeight = target->h;
    pictureShown = box.rect;
    if (whole) {
        return SDL_UpdateWindowSurface(window) == 0;
    }
    // A still picture sends the window system nothing at all.
    changedRects.clear();
    for (const RowBand& band : scaler.drawnRows()) {
        changedRects.push_back(
            {box.rect.x, box.rect.y + band.top, box.rect.w, band.bottom - band.top});
    }
    if (changedRects.empty()) {
        return true;
    }
    return SDL_UpdateWindowSurfaceRects(window, changedRects.data(),
                                        static_cast<int>(changedRects.size())) == 0;
}

}  // namespace platform::sdl
