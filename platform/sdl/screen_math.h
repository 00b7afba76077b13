#pragma once
// The arithmetic between the game's 640 x 480 RGB565 back buffer and the
// window: pixel conversion and where the picture lands.

#include <SDL.h>

#include <cstddef>
#include <cstdint>

#include "platform/pixel_widening.h"

namespace platform::sdl {

// The game's picture, whatever the size of the window that shows it.
constexpr int pictureWidth = 640;
constexpr int pictureHeight = 480;

using platform::convertRgb565ToAbgr8888;
using platform::convertRgb565ToArgb8888;

struct Letterbox {
    SDL_Rect rect;    // where the 640 x 480 picture goes, in output pixels
    bool wholeScale;  // the picture is enlarged by a whole number
};

// The largest 4:3 rectangle centred in the output; the rest stays black.
// With wholeMultiplesOnly the picture grows only by whole multiples, so every
// pixel stays sharp and square, unless the output is too small for even one
// and the picture must shrink.
Letterbox letterbox(int outputWidth, int outputHeight, bool wholeMultiplesOnly = false);

// The window's size in multiples of 640 x 480: the one asked for, or with 0
// the largest that fits the space the desktop leaves, and never less than 1.
int windowScale(int requested, int availableWidth, int availableHeight);

}  // namespace platform::sdl
