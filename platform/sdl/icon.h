#pragma once
// The window icon from its bitmap resource.

#include <SDL.h>

#include <cstdint>
#include <span>

namespace platform::sdl {

// Decodes a 24-bit BMP file into an RGBA surface in which pure green
// (0, 255, 0) is fully transparent and every other pixel fully opaque; null
// when the bytes are no bitmap. The caller frees it with SDL_FreeSurface.
SDL_Surface* decodeIcon(std::span<const uint8_t> bmpFile);

}  // namespace platform::sdl
