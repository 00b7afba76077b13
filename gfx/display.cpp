// The display handles and the flip.

#include "gfx/display.h"

platform::Display* directDraw = nullptr;
platform::Surface* primarySurface = nullptr;
platform::Surface* backBuffer = nullptr;

void present() {
    platform::flip(primarySurface);
}

void dimBackBuffer() {
    if (backBuffer == nullptr) return;
    // Each of the three channels shifted right by one, in place.
    for (uint16_t& pixel : backBuffer->pixels) pixel = static_cast<uint16_t>((pixel >> 1) & 0x7BEF);
}
