#include "platform/sdl/icon.h"

#include <cstddef>

namespace platform::sdl {

SDL_Surface* decodeIcon(std::span<const uint8_t> bmpFile) {
    if (bmpFile.empty()) {
        return nullptr;
    }
    SDL_RWops* bytes = SDL_RWFromConstMem(bmpFile.data(), static_cast<int>(bmpFile.size()));
    SDL_Surface* bitmap = SDL_LoadBMP_RW(bytes, 1);
    if (bitmap == nullptr) {
        return nullptr;
    }
    // RGBA32 is R, G, B, A in memory on every machine, so the bytes below
    // can be read without masks.
    SDL_Surface* icon = SDL_ConvertSurfaceFormat(bitmap, SDL_PIXELFORMAT_RGBA32, 0);
    SDL_FreeSurface(bitmap);
    if (icon == nullptr) {
        return nullptr;
    }
    SDL_LockSurface(icon);
    for (int y = 0; y < icon->h; ++y) {
        auto* row = static_cast<uint8_t*>(icon->pixels) + static_cast<ptrdiff_t>(y) * icon->pitch;
        for (int x = 0; x < icon->w; ++x) {
            uint8_t* rgba = row + static_cast<ptrdiff_t>(x) * 4;
            // The icon was drawn on pure green, the old way of marking what
            // the desktop should show through.
            const bool green = rgba[0] == 0 && rgba[1] == 255 && rgba[2] == 0;
            rgba[3] = green ? 0 : 255;
        }
    }
    SDL_UnlockSurface(icon);
    return icon;
}

}  // namespace platform::sdl
